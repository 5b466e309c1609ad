// The pictures beside the reports, as the windows draw them: Ultra's pane from its display menu
// with the last run's steps, its cobweb and its convergence view, LinearFrm's sweeps of the
// iterative methods, and the differential-equation windows' curves against an exact solution.
// The reports themselves are tested elsewhere; here only that they stay the same.

#include <cmath>
#include <numbers>

#include <QAction>
#include <QChart>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "registry/registry.h"
#include "ui/application.h"
#include "ui/ode_window.h"
#include "ui/pane_text.h"
#include "ui/picture_pane.h"
#include "ui/scripted_dialogs.h"
#include "ui/workspace_window.h"

using namespace koravin;
using koravin::testing::ScriptedDialogs;

namespace {

template <typename Window>
bool Run(Window& window, const std::function<void()>& start) {
    QSignalSpy ended(&window, &Window::commandEnded);
    start();
    return ended.wait(20000);
}

QList<QPointF> CurvePoints(PicturePane& pane, const QString& key) {
    QList<QPointF> points;
    for (QAbstractSeries* series : pane.chart()->series()) {
        if (series->objectName() == key) points += static_cast<QLineSeries*>(series)->points();
    }
    return points;
}

// The command run on its own, as the reports' tests run it, with what it hands the picture.
struct DirectRun {
    std::string report;
    CollectedPicture picture;
};

DirectRun RunDirectly(const char* command, const std::string& editor, std::vector<std::string> replies) {
    DirectRun run;
    StringPane pane;
    ScriptedInteraction answers(std::move(replies), {});
    CommandContext context{editor, pane, answers, 6, {}, {}, &run.picture};
    FindCommand(command)->run(context);
    run.report = pane.text();
    return run;
}

// The menu's entries from `first` on, as many as `count`.
QList<QAction*> EntriesFrom(QMenu* menu, QAction* first, qsizetype count) {
    const QList<QAction*> entries = menu->actions();
    return entries.mid(entries.indexOf(first), count);
}

QStringList CurveNames(PicturePane& pane) {
    QStringList names;
    for (QAbstractSeries* series : pane.chart()->series()) {
        if (!series->name().isEmpty() && !names.contains(series->name())) names << series->name();
    }
    return names;
}

}  // namespace

class WindowPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void ultraDrawsTheLastFinishedRunBesideItsReport() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Nonlinear, dialogs);
        window.show();
        window.editorPane()->setPlainText("x^3-2*x-5");
        PicturePane* picture = window.picturePane();
        QVERIFY(picture->isHidden());

        // Before any run: f over [-5, 5].
        window.findChild<QAction*>("ShowPicture")->trigger();
        QVERIFY(picture->isVisible());
        QCOMPARE(picture->homeBounds().left, -5.0);
        QCOMPARE(picture->homeBounds().right, 5.0);

        // Newton from 3: the view holds every iterate, and the report is what it always is.
        dialogs.script({"3*x^2-2", "3", "1E-8"});
        QVERIFY(Run(window, [&] { window.runCommand(*FindCommand("CalculateNewton")); }));
        const PictureBounds newton = picture->homeBounds();
        QVERIFY(newton.left < 2.09 && newton.right > 3 && newton.right < 5);
        QCOMPARE(PaneText(*window.resultPane()), RunDirectly("CalculateNewton", "x^3-2*x-5", {"3*x^2-2", "3", "1E-8"}).report);

        // A run that ends before its first step, or is cancelled, leaves the picture as it was.
        dialogs.script({});
        QVERIFY(Run(window, [&] { window.runCommand(*FindCommand("CalculateDichotomy")); }));
        QCOMPARE(picture->homeBounds().left, newton.left);
        QCOMPARE(picture->homeBounds().right, newton.right);

        // Bisection on [2, 3] replaces it; hiding keeps it for the next showing.
        dialogs.script({"2", "3", "0.001"});
        QVERIFY(Run(window, [&] { window.runCommand(*FindCommand("CalculateDichotomy")); }));
        QVERIFY(picture->homeBounds().left <= 2 && picture->homeBounds().right >= 3);
        QVERIFY(picture->homeBounds().right - picture->homeBounds().left < 3);
        const PictureBounds bisection = picture->homeBounds();
        window.findChild<QAction*>("ShowPicture")->trigger();
        QVERIFY(picture->isHidden());
        window.findChild<QAction*>("ShowPicture")->trigger();
        QCOMPARE(picture->homeBounds().left, bisection.left);
    }

    void linearFrmComparesTheSweepsOfTheIterativeMethods() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.show();
        // Tridiagonal Toeplitz, 4 on the diagonal and -1 beside it: Jacobi's radius is
        // 2·√1/4·cos(π/6), Gauss-Seidel's its square, and relaxation's ω - 1 for ω above the best.
        QString system;
        for (int i = 1; i <= 5; ++i) {
            for (int j = 1; j <= 6; ++j) system += QString::number(j == 6 ? 1 : i == j ? 4 : std::abs(i - j) == 1 ? -1 : 0) + ' ';
            system += "\r\n";
        }
        window.editorPane()->setPlainText(system);
        PicturePane* picture = window.picturePane();
        QAction* pictureEntry = window.findChild<QAction*>("FormatPicture");
        QAction* exportEntry = window.findChild<QAction*>("FormatExportPicture");
        QCOMPARE(EntriesFrom(window.findChild<QMenu*>("Format"), pictureEntry, 2), (QList<QAction*>{pictureEntry, exportEntry}));
        QCOMPARE(exportEntry->text(), "导出图片…");
        QVERIFY(!exportEntry->isEnabled());
        pictureEntry->trigger();
        QVERIFY(picture->isVisible() && picture->isEmpty() && exportEntry->isEnabled());

        const double jacobi = 2 * std::sqrt(1.0) / 4 * std::cos(std::numbers::pi / 6);
        struct Case {
            const char* command;
            std::vector<std::string> replies;
            const char* label;
            double radius;
        };
        const Case cases[] = {
            {"JacobiDie", {"1E-10", "5"}, "Jacobi ρ=0.433", jacobi},
            {"Gauss_SeidelDie", {"1E-10", "5"}, "Gauss-Seidel ρ=0.1875", jacobi * jacobi},
            {"SorDie", {"1E-10", "5", "", "", "", "", "", "1.2"}, "SOR ω=1.2 ρ=0.2", 0.2},
        };
        QStringList labels;
        for (std::size_t run = 0; run < std::size(cases); ++run) {
            const Case& c = cases[run];
            dialogs.script(c.replies);
            QVERIFY(Run(window, [&] { window.runCommand(*FindCommand(c.command)); }));
            const DirectRun direct = RunDirectly(c.command, PaneText(*window.editorPane()), c.replies);
            QCOMPARE(PaneText(*window.resultPane()), direct.report);
            labels << c.label;
            QCOMPARE(CurveNames(*picture), labels);
            // One point per sweep the report counts, at the size of that sweep's change.
            const std::vector<double>& changes = direct.picture.sweepRun->changes;
            QVERIFY(direct.report.find("迭代" + std::to_string(changes.size()) + "次") != std::string::npos);
            QList<QPointF> expected;
            for (std::size_t k = 0; k < changes.size(); ++k) expected << QPointF(k + 1.0, std::log10(changes[k]));
            const QString key = QString("steps%1").arg(run + 1);
            QCOMPARE(CurvePoints(*picture, key), expected);
            // The dashed line falls by log ρ a sweep.
            const QList<QPointF> line = CurvePoints(*picture, QString("predicted%1").arg(run + 1));
            QCOMPARE(line.size(), 2);
            const double slope = (line[1].y() - line[0].y()) / (line[1].x() - line[0].x());
            QVERIFY2(std::abs(slope - std::log10(c.radius)) < 1e-9, qPrintable(QString::number(slope)));
        }

        // A relaxation that diverges ends with a message and leaves the three curves as they were.
        dialogs.script({"1E-10", "5", "", "", "", "", "", "2.5"});
        QVERIFY(Run(window, [&] { window.runCommand(*FindCommand("SorDie")); }));
        QCOMPARE(CurveNames(*picture), labels);

        // Another system: the curves go.
        window.editorPane()->appendPlainText("1 2 3");
        QVERIFY(picture->isEmpty());
        dialogs.script(cases[0].replies);
        QVERIFY(Run(window, [&] { window.runCommand(*FindCommand("JacobiDie")); }));
        QCOMPARE(CurveNames(*picture).size(), 1);
    }

    void ultraShowsHowFastEachRunArrivesAndTheCobweb() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Nonlinear, dialogs);
        window.show();
        window.editorPane()->setPlainText("x^3-2*x-5");
        PicturePane* picture = window.picturePane();
        QAction* pictureEntry = window.findChild<QAction*>("ShowPicture");
        QAction* convergence = window.findChild<QAction*>("ShowConvergence");
        QAction* functionView = window.findChild<QAction*>("ShowFunctionView");
        QAction* exportEntry = window.findChild<QAction*>("ShowExportPicture");
        QCOMPARE(EntriesFrom(window.findChild<QMenu*>("mnuShow"), pictureEntry, 3),
                 (QList<QAction*>{pictureEntry, convergence, exportEntry}));
        QVERIFY(picture->actions().contains(convergence) && picture->actions().contains(functionView));
        QCOMPARE(convergence->text(), "收敛图");
        QCOMPARE(functionView->text(), "函数图");
        QVERIFY(!convergence->isEnabled() && !exportEntry->isEnabled());
        pictureEntry->trigger();
        QVERIFY(convergence->isEnabled() && exportEntry->isEnabled() && functionView->isChecked());

        const std::vector<std::string> bisection{"2", "3", "1E-6"};
        const std::vector<std::string> newton{"3*x^2-2", "3", "1E-12"};
        for (const auto& [command, replies] : {std::pair("CalculateDichotomy", bisection), std::pair("CalculateNewton", newton)}) {
            dialogs.script(replies);
            QVERIFY(Run(window, [&] { window.runCommand(*FindCommand(command)); }));
        }
        convergence->trigger();
        QVERIFY(convergence->isChecked() && !functionView->isChecked());
        QCOMPARE(CurveNames(*picture), (QStringList{"二分法", "牛顿切线法"}));
        // Bisection halves its step: a straight line. Newton's steps are |x_k - x_(k-1)| of its
        // iterates, falling faster and faster.
        const QList<QPointF> halving = CurvePoints(*picture, "steps1");
        for (qsizetype k = 1; k < halving.size(); ++k) {
            QVERIFY(std::abs(halving[k].y() - halving[k - 1].y() - std::log10(0.5)) < 1e-9);
        }
        const std::vector<IterateMark> marks = RunDirectly("CalculateNewton", "x^3-2*x-5", newton).picture.marks;
        QList<QPointF> expected;
        for (std::size_t k = 1; k < marks.size(); ++k) {
            const double size = std::abs(marks[k].x - marks[k - 1].x);
            if (size > 0) expected << QPointF(marks[k].index, std::log10(size));
        }
        const QList<QPointF> steps = CurvePoints(*picture, "steps2");
        QCOMPARE(steps, expected);
        QVERIFY(steps.size() >= 4);
        for (qsizetype k = 2; k < steps.size(); ++k) QVERIFY(steps[k].y() - steps[k - 1].y() < steps[k - 1].y() - steps[k - 2].y());

        QTemporaryDir folder;
        picture->setExportFileAsker([&](QWidget*) { return folder.filePath("收敛图.svg"); });
        exportEntry->trigger();
        QVERIFY(QFileInfo(folder.filePath("收敛图.svg")).size() > 1000);

        // x = x/2 + 1 from 0: 1, 1.5, 1.75, ... up to φ and across to y = x at each step.
        functionView->trigger();
        QVERIFY(!convergence->isChecked() && functionView->isChecked());
        const std::vector<std::string> halving_phi{"x/2+1", "0", "1E-3"};
        dialogs.script(halving_phi);
        QVERIFY(Run(window, [&] { window.runCommand(*FindCommand("CalculateIterative")); }));
        QCOMPARE(CurveNames(*picture), (QStringList{"y=x", "y=φ(x)", "迭代路径"}));
        const std::size_t iterates = RunDirectly("CalculateIterative", "x^3-2*x-5", halving_phi).picture.marks.size();
        QList<QPointF> staircase{{0, 0}};
        for (double x = 0, k = 1; k < iterates; ++k, x = x / 2 + 1) {
            staircase << QPointF(x, x / 2 + 1) << QPointF(x / 2 + 1, x / 2 + 1);
        }
        QCOMPARE(CurvePoints(*picture, "staircase"), staircase);

        convergence->trigger();
        QCOMPARE(CurveNames(*picture), (QStringList{"二分法", "牛顿切线法", "迭代法"}));
        window.editorPane()->setPlainText("x^2-2");
        QVERIFY(picture->isEmpty());
    }

    void theEulerWindowComparesBothColumnsWithTheExactSolution() {
        ScriptedDialogs dialogs;
        dialogs.script({"1"});
        OdeWindow window(OdeMethod::Euler, dialogs);
        window.show();
        const std::pair<const char*, const char*> fields[] = {
            {"Text1", "y"}, {"Text2", "0"}, {"Text3", "1"}, {"Text4", "10"}, {"ExactSolution", "exp(x)"}};
        for (const auto& [name, text] : fields) {
            window.findChild<QLineEdit*>(name)->selectAll();
            QTest::keyClicks(window.findChild<QLineEdit*>(name), text);
        }
        QVERIFY(Run(window, [&] { window.compute(); }));
        QCOMPARE(CurveNames(*window.picturePane()),
                 (QStringList{"欧拉公式Y(n)（末点误差 1.2E-01）", "Euler预估-校正公式Y(n)（末点误差 4.2E-03）", "精确解y(x)"}));
        const auto points = [&](const char* curve) {
            int count = 0;
            for (QAbstractSeries* series : window.picturePane()->chart()->series()) {
                if (series->objectName() == curve) count += static_cast<QLineSeries*>(series)->count();
            }
            return count;
        };
        QCOMPARE(points("first"), 11);
        QCOMPARE(points("second"), 11);

        // Without the exact solution the legend has the two headings alone; a refused run
        // (no initial value) keeps the picture.
        window.findChild<QLineEdit*>("ExactSolution")->clear();
        dialogs.script({"1"});
        QVERIFY(Run(window, [&] { window.compute(); }));
        QCOMPARE(CurveNames(*window.picturePane()), (QStringList{"欧拉公式Y(n)", "Euler预估-校正公式Y(n)"}));
        dialogs.script({});
        QVERIFY(Run(window, [&] { window.compute(); }));
        QCOMPARE(CurveNames(*window.picturePane()), (QStringList{"欧拉公式Y(n)", "Euler预估-校正公式Y(n)"}));
    }
};

QTEST_MAIN(WindowPicturesTest)
#include "window_pictures_test.moc"
