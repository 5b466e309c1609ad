// 示例 and the way out on paper, driven as a person drives them: an example chosen from the menu
// or the button, the question before typed text is replaced, and the report exported as a PDF or
// printed (through QPrinter to a PDF file), read back with poppler's text tools.

#include <algorithm>

#include <QAction>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "registry/registry.h"
#include "ui/application.h"
#include "ui/ode_window.h"
#include "ui/picture_pane.h"
#include "ui/pane_text.h"
#include "ui/scripted_dialogs.h"
#include "ui/workspace_window.h"

using namespace koravin;
using koravin::testing::ScriptedDialogs;

namespace {

const QString kExampleQuestion = "question\t示例\t编辑区中的内容没有保存，要用示例替换它吗？\t";
const QString kGaussSystem = "2 1 -1 8\n-3 -1 2 -11\n-2 1 2 -3";
const QRegularExpression kPageNumber("^第 (\\d+) 页 / 共 (\\d+) 页$");

QAction* Entry(QWidget& window, const QString& name) {
    QAction* action = window.findChild<QAction*>(name);
    if (action == nullptr) qFatal("no entry %s", qPrintable(name));
    return action;
}

// How the job that the entry starts ends; nothing when none starts.
template <typename Window>
std::optional<PaperEnd> PaperEnds(Window& window, const char* entry) {
    QSignalSpy ended(&window, &Window::paperEnded);
    Entry(window, entry)->trigger();
    if (!window.paperRunning() || !ended.wait(120000)) return std::nullopt;
    return ended.takeFirst().at(0).template value<PaperEnd>();
}

QString Poppler(const QString& tool, const QString& pdf, const QStringList& options = {}) {
    QProcess process;
    process.start(tool, options + QStringList{pdf} + (tool == "pdftotext" ? QStringList{"-"} : QStringList{}));
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The lines with every run of blanks as one blank and none at either end.
QStringList Compressed(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split('\n')) lines << line.simplified();
    return lines;
}

// Every character beyond ASCII that the reports, the messages and the help use (the texts of the
// program's sources, the help and the examples), in lines of 32.
QString CharactersOfReportsAndHelp() {
    const QDir root(KORAVIN_PACKAGING_DIR "/..");
    QString texts;
    const auto read = [](const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
        return QString::fromUtf8(file.readAll());
    };
    static const QRegularExpression kLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\"");
    QDirIterator sources(root.filePath("src"), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        for (const QRegularExpressionMatch& literal : kLiteral.globalMatch(read(sources.next()))) texts += literal.captured(1);
    }
    for (const char* folder : {"assets/help", "assets/examples"}) {
        for (const QFileInfo& file : QDir(root.filePath(folder)).entryInfoList({"*.html", "*.txt"}, QDir::Files)) {
            texts += read(file.filePath());
        }
    }
    QSet<QChar> characters;
    for (const QChar c : texts) {
        // A combining mark is drawn over the character before it, as no line of a report has one.
        if (c.unicode() >= 0x80 && !c.isMark() && !c.isSurrogate()) characters.insert(c);
    }
    QList<QChar> sorted(characters.begin(), characters.end());
    std::sort(sorted.begin(), sorted.end());
    QString text;
    for (qsizetype i = 0; i < sorted.size(); ++i) text += (i > 0 && i % 32 == 0 ? "\n" : "") + QString(sorted[i]);
    return text;
}

// Every line of `report` is a line of the PDF, which numbers its pages 1 to n; n is returned.
int PagesHolding(const QString& pdf, const QString& report) {
    const QStringList text = Compressed(Poppler("pdftotext", pdf, {"-layout"}));
    for (const QString& line : Compressed(report)) {
        if (!text.contains(line)) qWarning("not in the PDF: %s", qPrintable(line));
        if (!text.contains(line)) return -1;
    }
    const QStringList footers = text.filter(kPageNumber);
    for (qsizetype k = 0; k < footers.size(); ++k) {
        const QRegularExpressionMatch page = kPageNumber.match(footers[k]);
        if (page.captured(1).toInt() != k + 1 || page.captured(2).toInt() != footers.size()) return -1;
    }
    const int pages = Poppler("pdfinfo", pdf).section("Pages:", 1).section('\n', 0, 0).trimmed().toInt();
    return pages == footers.size() ? pages : -1;
}

bool Landscape(const QString& pdf) {
    const QString size = Poppler("pdfinfo", pdf).section("Page size:", 1).section("pts", 0, 0);
    return size.section('x', 0, 0).toDouble() > size.section('x', 1, 1).toDouble();
}

}  // namespace

class ExamplesAndPaperTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void anExampleOfEveryMethodFillsTheEditorAndSaysWhatToAnswer_data() {
        QTest::addColumn<bool>("linear");
        QTest::addColumn<QString>("example");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("status");
        QTest::newRow("Gauss") << true << "gauss_order3" << kGaussSystem << "选择 解线性方程组 → Gauss消去法，阶数 n 输入 3";
        QTest::newRow("a norm, in the submenu, without a prompt")
            << true << "vector_norms" << "3 -4 12" << "选择 解线性方程组 → 迭代法的收敛性 → 向量范数";
        QTest::newRow("Newton") << false << "newton" << "x^3-2*x-5"
                                << "选择 解方程 → 牛顿切线法，导数输入 3*x^2-2，初值 x0 输入 2，精度输入 0.0001";
    }

    void anExampleOfEveryMethodFillsTheEditorAndSaysWhatToAnswer() {
        QFETCH(bool, linear);
        QFETCH(QString, example);
        QFETCH(QString, editor);
        QFETCH(QString, status);
        ScriptedDialogs dialogs;
        WorkspaceWindow window(linear ? WorkspaceKind::Linear : WorkspaceKind::Nonlinear, dialogs);
        QStringList titles;
        for (QAction* entry : window.findChild<QMenu*>("FileExamples")->actions()) titles << entry->text();
        for (const CommandInfo& info : AllCommands()) {
            if (info.workspace != (linear ? Workspace::Linear : Workspace::Nonlinear)) continue;
            const QString method = FromReportText(info.caption) + "：";
            QVERIFY2(!titles.filter(QRegularExpression("^" + QRegularExpression::escape(method))).isEmpty(),
                     qPrintable(method));
        }

        Entry(window, "Example_" + example)->trigger();
        QCOMPARE(window.editorPane()->toPlainText(), editor);
        QCOMPARE(window.statusText(), status);
    }

    // Once the example has run its hint is gone; a PDF or a picture written is named as a saved
    // report is.
    void theStatusBarSaysWhatHappened() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        Entry(window, "Example_gauss_order3")->trigger();
        QVERIFY(window.statusText().startsWith("选择 "));
        dialogs.script({"3"});
        QSignalSpy computed(&window, &WorkspaceWindow::commandEnded);
        Entry(window, "Gauss_1")->trigger();
        QVERIFY(computed.wait(60000));
        QCOMPARE(window.statusText(), QString("状态"));

        QTemporaryDir folder;
        const QString pdf = folder.filePath("report.pdf");
        dialogs.script({}, {}, {pdf});
        QCOMPARE(PaperEnds(window, "FileExportPdf"), PaperEnd::Written);
        QCOMPARE(window.statusText(), QDir::toNativeSeparators(pdf));
        const QString png = folder.filePath("picture.png");
        window.picturePane()->setExportFileAsker([png](QWidget*) { return png; });
        Entry(window, "FormatPicture")->trigger();
        Entry(window, "FormatExportPicture")->trigger();
        QVERIFY(QFile::exists(png));
        QCOMPARE(window.statusText(), QDir::toNativeSeparators(png));
    }

    void typedTextIsReplacedOnlyWhenThePersonSaysYes_data() {
        QTest::addColumn<QString>("before");  // "<file>": the editor as a file holding "1 2 3" opened it
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("trace");
        QTest::newRow("blank editor") << "  \n" << QList<bool>{} << "";
        QTest::newRow("another example's text") << "3 -4 12" << QList<bool>{} << "";
        QTest::newRow("the opened file, untouched") << "<file>" << QList<bool>{} << "";
        QTest::newRow("typed text, No") << "1 2 3" << QList<bool>{false} << kExampleQuestion + "no";
        QTest::newRow("typed text, Yes") << "1 2 3" << QList<bool>{true} << kExampleQuestion + "yes";
    }

    void typedTextIsReplacedOnlyWhenThePersonSaysYes() {
        QFETCH(QString, before);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, trace);
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        QTemporaryDir folder;
        if (before == "<file>") {
            QFile file(folder.filePath("m.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("1 2 3\r\n") == 7);
            file.close();
            dialogs.script({}, {}, {file.fileName()});
            window.openDocument();
            before = window.editorPane()->toPlainText();
        }
        window.editorPane()->setPlainText(before);
        dialogs.script({}, std::vector<bool>(answers.begin(), answers.end()));
        Entry(window, "Example_gauss_order3")->trigger();
        QCOMPARE(QString::fromStdString(dialogs.trace()), trace);
        QCOMPARE(window.editorPane()->toPlainText(), answers == QList<bool>{false} ? before : kGaussSystem);
    }

    // Exported and printed alike: the lines whole, the header, the page numbers, the CJK font.
    void aGaussReportOnPaper() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.editorPane()->setPlainText(kGaussSystem);
        dialogs.script({"3"});
        QSignalSpy computed(&window, &WorkspaceWindow::commandEnded);
        Entry(window, "Gauss_1")->trigger();
        QVERIFY(computed.wait(60000));
        // The header names the system the report solved, not what the editor holds since; a
        // picture with nothing drawn in it adds no page.
        window.show();
        window.editorPane()->setPlainText("9 9 9");
        Entry(window, "FormatPicture")->trigger();
        QVERIFY(window.picturePane()->isVisible() && window.picturePane()->isEmpty());
        QTemporaryDir folder;
        for (const auto& [entry, trace] : {std::pair{"FileExportPdf", "save-pdf\t"}, std::pair{"FilePrint", "print"}}) {
            const QString pdf = folder.filePath(QString(entry) + ".pdf");
            dialogs.script({}, {}, {pdf});
            QCOMPARE(PaperEnds(window, entry), PaperEnd::Written);
            QCOMPARE(QString::fromStdString(dialogs.trace()), QString(trace));
            QCOMPARE(PagesHolding(pdf, window.resultPane()->toPlainText()), 1);
            const QString header = Compressed(Poppler("pdftotext", pdf, {"-layout"})).first();
            QCOMPARE(header, Compressed(window.windowTitle() + " 2 1 -1 8 " + QDate::currentDate().toString(Qt::ISODate)).first());
            QVERIFY(QRegularExpression("CJK.* yes ").match(Poppler("pdffonts", pdf)).hasMatch());
        }
        dialogs.script({}, {}, {});
        QVERIFY(!PaperEnds(window, "FilePrint"));  // the print dialog cancelled
    }

    // Qt names a glyph that an ideograph shares with a radical by the radical (⽅ for 方): the
    // PDF's text is corrected to what was drawn, whether exported or printed to a file.
    void aPdfSearchesAndCopiesAsTheReport_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("font");
        QTest::newRow("导出PDF…") << "FileExportPdf" << "宋体";
        QTest::newRow("打印… to a PDF file") << "FilePrint" << "宋体";
        QTest::newRow("a font without ideographs") << "FileExportPdf" << "DejaVu Sans";
    }
    void aPdfSearchesAndCopiesAsTheReport() {
        QFETCH(QString, entry);
        QFETCH(QString, font);
        const QString report = CharactersOfReportsAndHelp();
        for (const QChar c : QString("方程组一页龙ρ‖")) QVERIFY(report.contains(c));
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Nonlinear, dialogs);
        window.resultPane()->setFont(QFont(font, 10));
        window.editorPane()->setPlainText("x^2-2");
        window.resultPane()->setPlainText(report);
        QTemporaryDir folder;
        const QString pdf = folder.filePath("report.pdf");
        dialogs.script({}, {}, {pdf});
        QCOMPARE(PaperEnds(window, qPrintable(entry)), PaperEnd::Written);
        const QStringList text = Poppler("pdftotext", pdf).split('\n');
        const QStringList lines = report.split('\n');
        const qsizetype first = text.indexOf(lines.first());
        QVERIFY2(first >= 0, qPrintable(text.join('\n')));
        QCOMPARE(text.mid(first, lines.size()), lines);
        QVERIFY(text.join('\n').contains(window.windowTitle()));
    }

    void aReportGoesOnPaperAsItFits_data() {
        QTest::addColumn<QString>("report");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<int>("pages");  // -1: a line is broken, so not whole in the PDF
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QStringList>("brokenLine");
        QStringList longReport;
        for (int k = 1; k <= 400; ++k) longReport << QString("第%1行  %2").arg(k).arg(k * 0.25);
        QStringList numbers;
        for (int k = 1; k <= 1000; ++k) numbers << QString::number(k * 1.0625 - 300, 'f', 4);
        QTest::newRow("pages of a long report") << longReport.join('\n') << false << 8 << false << QStringList{};
        QTest::newRow("150 columns: smaller, upright") << QString(149, '7') + "8\nx=1" << false << 1 << false << QStringList{};
        QTest::newRow("220 columns: landscape") << "x=1\n" + QString(219, '7') + "8" << false << 1 << true << QStringList{};
        QTest::newRow("1000 numbers: broken between them") << "矩阵\n" + numbers.join("  ") << false << -1 << true << numbers;
        QTest::newRow("the picture on a page of its own") << "x=1\nx=2" << true << 2 << false << QStringList{};
    }

    void aReportGoesOnPaperAsItFits() {
        QFETCH(QString, report);
        QFETCH(bool, picture);
        QFETCH(int, pages);
        QFETCH(bool, landscape);
        QFETCH(QStringList, brokenLine);
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Nonlinear, dialogs);
        window.show();
        window.editorPane()->setPlainText("x^2-2");
        window.resultPane()->setPlainText(report);
        if (picture) Entry(window, "ShowPicture")->trigger();
        QTemporaryDir folder;
        const QString pdf = folder.filePath("report.pdf");
        dialogs.script({}, {}, {pdf});
        QCOMPARE(PaperEnds(window, "FileExportPdf"), PaperEnd::Written);
        QCOMPARE(PagesHolding(pdf, report), pages);
        QCOMPARE(Landscape(pdf), landscape);
        const QString images = Poppler("pdfimages", pdf, {"-list"});
        QCOMPARE(QRegularExpression(QString("\\n\\s+%1\\s+\\d+\\s+image").arg(pages)).match(images).hasMatch(), picture);
        if (brokenLine.isEmpty()) return;
        // The second line's parts follow the first line, each after the first marked, every number whole.
        const QStringList text = Compressed(Poppler("pdftotext", pdf, {"-layout"}));
        QStringList parts = text.mid(text.indexOf(Compressed("矩阵").first()) + 1);
        parts = parts.mid(0, parts.indexOf(kPageNumber)).filter(QRegularExpression("."));
        QStringList tokens = parts.join(' ').split(' ');
        QCOMPARE(tokens.removeAll(Compressed("→").first()), parts.size() - 1);
        QCOMPARE(tokens, brokenLine);
    }

    void aStoppedExportLeavesTheOldFile() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.resultPane()->setPlainText(QStringList(20000, "1 2 3 4 5 6 7 8 9 10").join('\n'));
        QTemporaryDir folder;
        QFile old(folder.filePath("old.pdf"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        dialogs.script({}, {}, {old.fileName()});
        QSignalSpy ended(&window, &WorkspaceWindow::paperEnded);
        Entry(window, "FileExportPdf")->trigger();
        QCOMPARE(window.statusText(), QString("正在输出……"));
        QVERIFY(!Entry(window, "FileExportPdf")->isEnabled() && !Entry(window, "Gauss_1")->isEnabled());
        Entry(window, "Stop")->trigger();
        QVERIFY(ended.wait(60000));
        QCOMPARE(ended.takeFirst().at(0).value<PaperEnd>(), PaperEnd::Stopped);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QVERIFY(Entry(window, "FileExportPdf")->isEnabled() && window.statusText() != "正在输出……");
    }

    void theOdeWindowsFillTheirFieldsAndPrintTableAndPicture() {
        ScriptedDialogs dialogs;
        OdeWindow window(OdeMethod::RungeKutta, dialogs);
        window.show();
        Entry(window, "Example_runge_kutta_exponential")->trigger();
        QStringList fields;
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "ExactSolution"}) {
            fields << window.findChild<QLineEdit*>(name)->text();
        }
        QCOMPARE(fields, (QStringList{"x+y", "0", "1", "10", "2*exp(x)-x-1"}));
        QCOMPARE(window.statusLine(), QString("按 龙格库塔(Runge-Kutta)方法计算，F(0) 输入 1"));

        dialogs.script({"1"});
        QSignalSpy computed(&window, &OdeWindow::commandEnded);
        window.compute();
        QVERIFY(computed.wait(60000));
        QCOMPARE(window.statusLine(), QString());
        QTemporaryDir folder;
        const QString pdf = folder.filePath("table.pdf");
        dialogs.script({}, {}, {pdf});
        QCOMPARE(PaperEnds(window, "ExportPdf"), PaperEnd::Written);
        QCOMPARE(window.statusLine(), QDir::toNativeSeparators(pdf));
        QCOMPARE(PagesHolding(pdf, window.resultPane()->toPlainText()), 2);
        QVERIFY(Compressed(Poppler("pdftotext", pdf, {"-layout"})).first().contains(" y'=x+y "));
        // The window has no menu bar: its picture's context menu offers both as well.
        const QList<QAction*> pictureEntries = window.picturePane()->actions();
        QVERIFY(pictureEntries.contains(window.printAction()));
        QVERIFY(pictureEntries.contains(window.exportPdfAction()));
    }
};

QTEST_MAIN(ExamplesAndPaperTest)
#include "examples_and_paper_test.moc"
