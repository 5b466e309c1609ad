// 示例 and the way out on paper, driven as a person drives them: an example chosen from the menu
// or the button, the question before typed text is replaced, and the report exported as a PDF or
// printed (through QPrinter to a PDF file), read back with poppler's text tools.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QDate>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "registry/registry.h"
#include "ui/application.h"
#include "ui/ode_window.h"
#include "ui/pane_text.h"
#include "ui/scripted_dialogs.h"
#include "ui/workspace_window.h"

using namespace koravin;
using koravin::testing::ScriptedDialogs;

namespace {

const QString kExampleQuestion = "question\t示例\t编辑区中的内容没有保存，要用示例替换它吗？\t";

QAction* Entry(QWidget& window, const QString& name) {
    QAction* action = window.findChild<QAction*>(name);
    if (action == nullptr) qFatal("no entry %s", qPrintable(name));
    return action;
}

// A poppler tool's output on the file.
QString Poppler(const QString& tool, const QString& pdf, const QStringList& options = {}) {
    QProcess process;
    process.start(tool, options + QStringList{pdf} + (tool == "pdftotext" ? QStringList{"-"} : QStringList{}));
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The lines of a text with every run of blanks as one blank, and no blank at either end. The PDF
// names some ideographs by the Kangxi radicals that share their glyphs (⽅ for 方): compatibility
// normalisation reads them back as the ideographs.
QStringList Compressed(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split('\n')) lines << line.simplified().normalized(QString::NormalizationForm_KC);
    return lines;
}

int PageCount(const QString& pdf) {
    return Poppler("pdfinfo", pdf).section("Pages:", 1).section('\n', 0, 0).trimmed().toInt();
}

bool Landscape(const QString& pdf) {
    const QString size = Poppler("pdfinfo", pdf).section("Page size:", 1).section("pts", 0, 0);
    return size.section('x', 0, 0).toDouble() > size.section('x', 1, 1).toDouble();
}

template <typename Window>
PaperEnd WaitForPaper(Window& window, QAction* entry) {
    QSignalSpy ended(&window, &Window::paperEnded);
    entry->trigger();
    if (!window.paperRunning()) return PaperEnd::Failed;
    ended.wait(120000);
    return ended.isEmpty() ? PaperEnd::Failed : ended.takeFirst().at(0).template value<PaperEnd>();
}

bool RunEntry(WorkspaceWindow& window, const QString& name) {
    QSignalSpy ended(&window, &WorkspaceWindow::commandEnded);
    Entry(window, name)->trigger();
    return ended.wait(60000);
}

}  // namespace

class ExamplesAndPaperTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication* application = qobject_cast<QApplication*>(QCoreApplication::instance());
        PrepareApplication(*application);
    }

    void examplesMenuOffersEveryMethodOfTheWorkspace() {
        for (const bool linear : {true, false}) {
            ScriptedDialogs dialogs;
            WorkspaceWindow window(linear ? WorkspaceKind::Linear : WorkspaceKind::Nonlinear, dialogs);
            QMenu* examples = window.findChild<QMenu*>("FileExamples");
            QVERIFY(examples != nullptr);
            QCOMPARE(examples->title(), QString("示例"));
            QStringList captions;
            for (QAction* entry : examples->actions()) captions << entry->text();
            for (const CommandInfo& command : AllCommands()) {
                if (command.workspace != (linear ? Workspace::Linear : Workspace::Nonlinear)) continue;
                const QString caption = FromReportText(command.caption) + "：";
                QVERIFY2(std::any_of(captions.begin(), captions.end(),
                                     [&](const QString& entry) { return entry.startsWith(caption); }),
                         qPrintable(caption));
            }
        }
    }

    void anExampleFillsTheEditorAndSaysWhatToAnswer_data() {
        QTest::addColumn<bool>("linear");
        QTest::addColumn<QString>("example");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("replies");
        QTest::newRow("Gauss") << true << "gauss_order3" << "2 1 -1 8\n-3 -1 2 -11\n-2 1 2 -3"
                               << "选择 解线性方程组 → Gauss消去法，阶数 n 输入 3" << QStringList{"3"};
        QTest::newRow("a norm, in the submenu, without a prompt")
            << true << "vector_norms" << "3 -4 12" << "选择 解线性方程组 → 迭代法的收敛性 → 向量范数" << QStringList{};
        QTest::newRow("Newton") << false << "newton" << "x^3-2*x-5"
                                << "选择 解方程 → 牛顿切线法，导数输入 3*x^2-2，初值 x0 输入 2，精度输入 0.0001"
                                << QStringList{"3*x^2-2", "2", "0.0001"};
    }

    void anExampleFillsTheEditorAndSaysWhatToAnswer() {
        QFETCH(bool, linear);
        QFETCH(QString, example);
        QFETCH(QString, editor);
        QFETCH(QString, status);
        QFETCH(QStringList, replies);
        ScriptedDialogs dialogs;
        WorkspaceWindow window(linear ? WorkspaceKind::Linear : WorkspaceKind::Nonlinear, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Entry(window, "Example_" + example)->trigger();
        QCOMPARE(window.editorPane()->toPlainText(), editor);
        QCOMPARE(window.statusText(), status);
        QCOMPARE(QString::fromStdString(dialogs.trace()), QString());

        // Doing as the status bar says ends with a report, not a message.
        std::vector<std::string> answers;
        for (const QString& reply : replies) answers.push_back(reply.toStdString());
        dialogs.script(answers);
        const QString method = window.statusText().section(" → ", -1).section("，", 0, 0);
        const auto command = std::find_if(AllCommands().begin(), AllCommands().end(), [&](const CommandInfo& info) {
            return FromReportText(info.caption) == method;
        });
        QVERIFY(command != AllCommands().end());
        QVERIFY(RunEntry(window, QString::fromUtf8(command->name.data(), command->name.size())));
        QVERIFY(!window.resultPane()->toPlainText().isEmpty());
        QVERIFY2(!QString::fromStdString(dialogs.trace()).contains("message\t"), dialogs.trace().c_str());
    }

    void typedTextIsReplacedOnlyWhenThePersonSaysYes_data() {
        QTest::addColumn<QString>("before");  // "<file>" opens a file holding 1 2 3
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("trace");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("blank editor") << "  \n" << QList<bool>{} << "" << true;
        QTest::newRow("another example's text") << "3 -4 12" << QList<bool>{} << "" << true;
        QTest::newRow("the opened file, untouched") << "<file>" << QList<bool>{} << "" << true;
        QTest::newRow("typed text, No") << "1 2 3" << QList<bool>{false} << kExampleQuestion + "no" << false;
        QTest::newRow("typed text, Yes") << "1 2 3" << QList<bool>{true} << kExampleQuestion + "yes" << true;
    }

    void typedTextIsReplacedOnlyWhenThePersonSaysYes() {
        QFETCH(QString, before);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, trace);
        QFETCH(bool, replaced);
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        if (before == "<file>") {
            QTemporaryDir folder;
            const QString name = folder.filePath("m.txt");
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("1 2 3\r\n");
            file.close();
            dialogs.script({}, {}, {name});
            window.openDocument();
            before = window.editorPane()->toPlainText();
        } else {
            window.editorPane()->setPlainText(before);
        }
        dialogs.script({}, std::vector<bool>(answers.begin(), answers.end()));
        Entry(window, "Example_gauss_order3")->trigger();
        QCOMPARE(QString::fromStdString(dialogs.trace()), trace);
        QCOMPARE(window.editorPane()->toPlainText(), replaced ? QString("2 1 -1 8\n-3 -1 2 -11\n-2 1 2 -3") : before);
    }

    void aPdfHoldsTheReportUnderItsHeaderInAnEmbeddedCjkFont() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Entry(window, "Example_gauss_order3")->trigger();
        dialogs.script({"3"});
        QVERIFY(RunEntry(window, "Gauss_1"));
        QTemporaryDir folder;
        const QString pdf = folder.filePath("gauss.pdf");
        dialogs.script({}, {}, {pdf});
        QCOMPARE(WaitForPaper(window, Entry(window, "FileExportPdf")), PaperEnd::Written);
        QCOMPARE(QString::fromStdString(dialogs.trace()), QString("save-pdf\t"));

        const QStringList text = Compressed(Poppler("pdftotext", pdf, {"-layout"}));
        QVERIFY2(text.first().startsWith(window.windowTitle() + " 2 1 -1 8 "), qPrintable(text.first()));
        QVERIFY(text.first().endsWith(QDate::currentDate().toString(Qt::ISODate)));
        for (const QString& line : Compressed(window.resultPane()->toPlainText())) {
            QVERIFY2(text.contains(line), qPrintable(line));
        }
        // The page numbers: 页 comes back as a radical of the same glyph that no normalisation maps.
        QVERIFY2(text.indexOf(QRegularExpression("^第 1 \\S / 共 1 \\S$")) > 0, qPrintable(text.join('\n')));
        QFile::copy(pdf, "/tmp/pdfcheck/gauss.pdf");
        const QString fonts = Poppler("pdffonts", pdf);
        QVERIFY2(QRegularExpression("CJK.* yes ").match(fonts).hasMatch(), qPrintable(fonts));
    }

    void aReportGoesOnPaperAsItFits_data() {
        QTest::addColumn<QString>("report");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<bool>("broken");
        QStringList longReport;
        for (int k = 1; k <= 400; ++k) longReport << QString("第%1行  %2").arg(k).arg(k * 0.25);
        QStringList numbers;
        for (int k = 1; k <= 1000; ++k) numbers << QString::number(k * 1.0625 - 300, 'f', 4);
        const QString widest = numbers.join("  ");
        QTest::newRow("pages of a long report") << longReport.join('\n') << false << false << false;
        QTest::newRow("150 columns: smaller, upright") << QString(149, '7') + "8\nx=1" << false << false << false;
        QTest::newRow("220 columns: landscape") << "x=1\n" + QString(219, '7') + "8" << false << true << false;
        QTest::newRow("a row of 1000 numbers: broken between them")
            << "矩阵\n" + widest + "\n" + widest << false << true << true;
        QTest::newRow("the picture on a page of its own") << "x=1\nx=2" << true << false << false;
    }

    void aReportGoesOnPaperAsItFits() {
        QFETCH(QString, report);
        QFETCH(bool, picture);
        QFETCH(bool, landscape);
        QFETCH(bool, broken);
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Nonlinear, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.editorPane()->setPlainText("x^2-2");
        window.resultPane()->setPlainText(report);
        if (picture) Entry(window, "ShowPicture")->trigger();
        QTemporaryDir folder;
        const QString pdf = folder.filePath("report.pdf");
        dialogs.script({}, {}, {pdf});
        QCOMPARE(WaitForPaper(window, Entry(window, "FileExportPdf")), PaperEnd::Written);

        const int pages = PageCount(pdf);
        QCOMPARE(Landscape(pdf), landscape);
        const QStringList text = Compressed(Poppler("pdftotext", pdf, {"-layout"}));
        const QStringList footers = text.filter(QRegularExpression("^第 \\d+ \\S / 共 \\d+ \\S$"));
        QCOMPARE(footers.size(), pages);
        QVERIFY(footers.last().startsWith(QString("第 %1 ").arg(pages)));
        QVERIFY(footers.last().contains(QString(" 共 %1 ").arg(pages)));
        const QStringList lines = Compressed(report);
        if (broken) {
            // Every number whole, in its order, each part after the first marked.
            const QStringList parts = text.filter(QRegularExpression("^→ "));
            QVERIFY(parts.size() >= 2 * 1000 / 60);
            QStringList tokens;
            for (const QString& line : text) {
                if (line.startsWith("→ ") || line.startsWith("-") || line.at(0).isDigit()) {
                    tokens << QString(line).remove(QRegularExpression("^→ ")).split(' ', Qt::SkipEmptyParts);
                }
            }
            QCOMPARE(tokens, lines[1].split(' ') + lines[2].split(' '));
        } else {
            QCOMPARE(text.filter(QRegularExpression("^→ ")), QStringList());
            for (const QString& line : lines) QVERIFY2(text.contains(line), qPrintable(line));
        }
        if (picture) {
            const QString images = Poppler("pdfimages", pdf, {"-list"});
            QVERIFY2(QRegularExpression(QString("\\n\\s+%1\\s+\\d+\\s+image").arg(pages)).match(images).hasMatch(),
                     qPrintable(images));
            QCOMPARE(pages, 2);
        } else {
            QVERIFY(pages > 1 || lines.size() < 50);
        }
    }

    void printingGoesThroughTheDialogToThePrinter() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.resultPane()->setPlainText("输出求解结果\nx(1)=2\nx(2)=3");
        dialogs.script({}, {}, {});
        QCOMPARE(WaitForPaper(window, Entry(window, "FilePrint")), PaperEnd::Failed);
        QCOMPARE(QString::fromStdString(dialogs.trace()), QString("print"));
        QTemporaryDir folder;
        const QString pdf = folder.filePath("printed.pdf");
        dialogs.script({}, {}, {pdf});
        QCOMPARE(WaitForPaper(window, Entry(window, "FilePrint")), PaperEnd::Written);
        QStringList text = Compressed(Poppler("pdftotext", pdf, {"-layout"}));
        text.removeAll(QString());
        QCOMPARE(text.mid(1, 3), (QStringList{"输出求解结果", "x(1)=2", "x(2)=3"}));
    }

    void aStoppedExportLeavesTheOldFile() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.resultPane()->setPlainText(QStringList(20000, "1 2 3 4 5 6 7 8 9 10").join('\n'));
        QTemporaryDir folder;
        const QString pdf = folder.filePath("old.pdf");
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        dialogs.script({}, {}, {pdf});
        QSignalSpy ended(&window, &WorkspaceWindow::paperEnded);
        Entry(window, "FileExportPdf")->trigger();
        QVERIFY(window.paperRunning());
        QCOMPARE(window.statusText(), QString("正在输出……"));
        QVERIFY(!Entry(window, "FileExportPdf")->isEnabled());
        Entry(window, "Stop")->trigger();
        QVERIFY(ended.wait(60000));
        QCOMPARE(ended.takeFirst().at(0).value<PaperEnd>(), PaperEnd::Stopped);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QVERIFY(Entry(window, "FileExportPdf")->isEnabled());
        QVERIFY(window.statusText() != QString("正在输出……"));
    }

    void theOdeWindowsPrintTheirTableAndPicture() {
        ScriptedDialogs dialogs;
        OdeWindow window(OdeMethod::Euler, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Entry(window, "Example_euler")->trigger();
        dialogs.script({"1"});
        QSignalSpy computed(&window, &OdeWindow::commandEnded);
        window.compute();
        QVERIFY(computed.wait(60000));
        QTemporaryDir folder;
        const QString pdf = folder.filePath("euler.pdf");
        dialogs.script({}, {}, {pdf});
        QCOMPARE(WaitForPaper(window, window.exportPdfAction()), PaperEnd::Written);
        QCOMPARE(PageCount(pdf), 2);
        const QStringList text = Compressed(Poppler("pdftotext", pdf, {"-layout"}));
        QVERIFY2(text.first().contains("y'=y-2*x/y"), qPrintable(text.first()));
        for (const QString& line : Compressed(window.resultPane()->toPlainText())) {
            QVERIFY2(text.contains(line), qPrintable(line));
        }
    }

    void theOdeExampleButtonFillsTheFields() {
        ScriptedDialogs dialogs;
        OdeWindow window(OdeMethod::RungeKutta, dialogs);
        QMenu* menu = window.findChild<QMenu*>("ExamplesMenu");
        QVERIFY(menu != nullptr);
        QStringList captions;
        for (QAction* entry : menu->actions()) captions << entry->text();
        QCOMPARE(captions, (QStringList{"龙格库塔(Runge-Kutta)方法：y'=y-2x/y", "龙格库塔(Runge-Kutta)方法：y'=x+y"}));
        Entry(window, "Example_runge_kutta_exponential")->trigger();
        QStringList fields;
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "ExactSolution"}) {
            fields << window.findChild<QLineEdit*>(name)->text();
        }
        QCOMPARE(fields, (QStringList{"x+y", "0", "1", "10", "2*exp(x)-x-1"}));
        QCOMPARE(window.exampleHint(), QString("按 龙格库塔(Runge-Kutta)方法计算，F(0) 输入 1"));
    }
};

QTEST_MAIN(ExamplesAndPaperTest)
#include "examples_and_paper_test.moc"
