// The linear workspace driven offscreen as a person drives it: from the last answered prompt to
// the whole report shown in the result pane, opening a 1 MB file, and how the window answers
// (a repaint, Esc) while a long elimination runs on its worker thread. The pictures beside the
// reports in a pane of a workspace's size: the sweep sizes of three iterative runs of 1000 sweeps
// each, the cobweb of 100 fixed-point steps, and the spectral radius the sweeps' legend needs,
// computed on the worker thread after the report is sent. A Gauss report exported as a PDF, and a
// repaint while the pages are painted.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>
#include <string>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

#include "checks/iteration_matrix.h"
#include "registry/registry.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "plot/function_of_x.h"
#include "ui/picture_pane.h"
#include "ui/workspace_window.h"

namespace {

using Clock = std::chrono::steady_clock;
using koravin::WorkspaceKind;
using koravin::WorkspaceWindow;

// Answers every prompt with `reply` and every question with Yes, noting when it last answered.
class AnsweringDialogs : public koravin::Dialogs {
public:
    std::string reply;
    QString fileName;
    Clock::time_point lastAnswer;

    std::string ask(QWidget*, const koravin::Prompt&) override {
        lastAnswer = Clock::now();
        return reply;
    }
    void tell(QWidget*, std::string_view) override {}
    bool confirm(QWidget*, std::string_view, std::string_view) override { return true; }
    QString openFileName(QWidget*, const QString&) override { return fileName; }
    QString saveFileName(QWidget*, const QString&) override { return fileName; }
    QString savePdfName(QWidget*, const QString&) override { return fileName; }
    bool setUpPrinter(QWidget*, QPrinter&) override { return false; }
    std::optional<koravin::FontChoice> chooseFont(QWidget*, const koravin::FontChoice&) override { return {}; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return {}; }
};

// A diagonally dominant system with 6-digit entries, one row per line.
QString SystemText(int n) {
    std::mt19937 random(static_cast<unsigned>(n));
    std::uniform_int_distribution<int> entry(-999999, 999999);
    QString text;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) {
            const int value = entry(random);
            text += QString::number(i == j ? 1000.0 * n + value / 1000.0 : value / 1000.0, 'f', 3);
            text += j <= n ? ' ' : '\n';
        }
    }
    return text;
}

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

void BM_GaussReportInPane(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    AnsweringDialogs dialogs;
    dialogs.reply = std::to_string(n);
    WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
    window.show();
    window.editorPane()->setPlainText(SystemText(n));
    const koravin::CommandInfo& gauss = *koravin::FindCommand("Gauss_1");
    for (auto _ : state) {
        QSignalSpy ended(&window, &WorkspaceWindow::commandEnded);
        window.runCommand(gauss);
        ended.wait(120000);
        window.resultPane()->viewport()->repaint();
        state.SetIterationTime(Seconds(Clock::now() - dialogs.lastAnswer));
    }
    state.counters["report MB"] = static_cast<double>(window.resultPane()->document()->characterCount()) / 1e6;
}
BENCHMARK(BM_GaussReportInPane)->Arg(300)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenMegabyteFile(benchmark::State& state) {
    QTemporaryDir folder;
    AnsweringDialogs dialogs;
    dialogs.fileName = folder.filePath("system.txt");
    QFile file(dialogs.fileName);
    file.open(QIODevice::WriteOnly);
    QByteArray bytes = SystemText(300).toUtf8();
    bytes.replace("\n", "\r\n");
    file.write(bytes.left(1 << 20));
    file.close();
    WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
    window.show();
    for (auto _ : state) {
        window.openDocument();
        window.editorPane()->viewport()->repaint();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_OpenMegabyteFile)->Unit(benchmark::kMillisecond)->Iterations(5);

// An elimination of order 2500 takes far longer than the measurement: a repaint of the whole
// window while it runs, and the time from Esc to the window being ready again.
void BM_AnswersWhileComputing(benchmark::State& state) {
    AnsweringDialogs dialogs;
    dialogs.reply = "2500";
    WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
    window.show();
    window.editorPane()->setPlainText("1 2 3");
    const koravin::CommandInfo& gauss = *koravin::FindCommand("Gauss_1");
    double repaint = 0;
    for (auto _ : state) {
        QSignalSpy ended(&window, &WorkspaceWindow::commandEnded);
        window.runCommand(gauss);
        QTest::qWait(1000);
        const Clock::time_point beforeRepaint = Clock::now();
        window.repaint();
        repaint = Seconds(Clock::now() - beforeRepaint);
        const Clock::time_point escape = Clock::now();
        QTest::keyClick(&window, Qt::Key_Escape);
        ended.wait(10000);
        state.SetIterationTime(Seconds(Clock::now() - escape));
    }
    state.counters["repaint ms"] = repaint * 1000;
}
BENCHMARK(BM_AnswersWhileComputing)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

using koravin::PicturePane;

// Sweep sizes falling by about ρ a sweep, with the wobble of a real run's first sweeps.
std::vector<koravin::DecayCurve> ThreeRuns(int sweeps) {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> wobble(0.7, 1.3);
    std::vector<koravin::DecayCurve> runs;
    for (const double radius : {0.99, 0.98, 0.97}) {
        koravin::DecayCurve run{"Jacobi", {}, radius};
        for (int k = 1; k <= sweeps; ++k) run.sizes.push_back({static_cast<double>(k), std::pow(radius, k) * wobble(random)});
        runs.push_back(std::move(run));
    }
    return runs;
}

void BM_SweepPicture(benchmark::State& state) {
    PicturePane pane;
    pane.resize(600, 480);
    pane.show();
    const std::vector<koravin::DecayCurve> runs = ThreeRuns(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pane.showDecay(runs, QStringLiteral("max|x(k)-x(k-1)|"));
        benchmark::DoNotOptimize(pane.grab());
    }
}
BENCHMARK(BM_SweepPicture)->Arg(1000)->Unit(benchmark::kMillisecond);

// x = cos(x) from 0 takes about 100 steps to 1E-8.
void BM_CobwebPicture(benchmark::State& state) {
    PicturePane pane;
    pane.resize(600, 480);
    pane.show();
    std::vector<koravin::IterateMark> marks;
    double x = 0;
    for (int k = 0; k <= state.range(0); ++k, x = std::cos(x)) marks.push_back({k, x});
    for (auto _ : state) {
        pane.showCobweb(koravin::FunctionOfX("cos(x)"), marks);
        benchmark::DoNotOptimize(pane.grab());
    }
}
BENCHMARK(BM_CobwebPicture)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_SpectralRadius(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::mt19937 random(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> entry(-1, 1);
    koravin::Matrix system(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) system(i, j) = i == j ? n : entry(random);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(koravin::IterationSpectralRadius(system, koravin::IterativeMethod::Jacobi, 1));
    }
}
BENCHMARK(BM_SpectralRadius)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

// From 导出PDF… to the file written, the report of Gauss_1 at order n in the pane; a repaint of the
// whole window a fifth of a second into the export; at order 1000, an export stopped with Esc a
// second into it, from Esc to the window ready again.
void BM_GaussReportToPdf(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    AnsweringDialogs dialogs;
    dialogs.reply = std::to_string(n);
    dialogs.fileName = folder.filePath("gauss.pdf");
    WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
    window.show();
    window.editorPane()->setPlainText(SystemText(n));
    QSignalSpy computed(&window, &WorkspaceWindow::commandEnded);
    window.runCommand(*koravin::FindCommand("Gauss_1"));
    computed.wait(120000);
    double repaint = 0;
    for (auto _ : state) {
        QSignalSpy ended(&window, &WorkspaceWindow::paperEnded);
        QTimer::singleShot(200, &window, [&window, &repaint] {
            const Clock::time_point before = Clock::now();
            window.repaint();
            repaint = Seconds(Clock::now() - before);
        });
        window.exportPdf();
        ended.wait(600000);
    }
    if (n == 1000) {
        QSignalSpy ended(&window, &WorkspaceWindow::paperEnded);
        window.exportPdf();
        QTest::qWait(1000);
        const Clock::time_point escape = Clock::now();
        QTest::keyClick(&window, Qt::Key_Escape);
        ended.wait(60000);
        state.counters["stop ms"] = Seconds(Clock::now() - escape) * 1000;
    }
    state.counters["report MB"] = static_cast<double>(window.resultPane()->document()->characterCount()) / 1e6;
    state.counters["PDF MB"] = static_cast<double>(QFile(dialogs.fileName).size()) / 1e6;
    state.counters["repaint ms"] = repaint * 1000;
}
BENCHMARK(BM_GaussReportToPdf)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    koravin::PrepareApplication(application);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
