// The workspaces driven as a person drives them: typing into the editor, choosing menu entries,
// answering dialogs (scripted), opening and saving files.

#include <csignal>

#include <sys/resource.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "registry/registry.h"
#include "ui/application.h"
#include "ui/cli_run.h"
#include "ui/pane_text.h"
#include "ui/scripted_dialogs.h"
#include "ui/workspace_window.h"

using namespace koravin;
using koravin::testing::CliRun;
using koravin::testing::RunCli;
using koravin::testing::ScriptedDialogs;

namespace {

const char* const kSystem = "2 1 -1 8\n-3 -1 2 -11\n-2 1 2 -3";

void TypeText(QPlainTextEdit* pane, const QString& text) {
    QVERIFY(QTest::qWaitForWindowActive(pane->window()));
    pane->setFocus();
    const QStringList lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) QTest::keyClick(pane, Qt::Key_Return);
        QTest::keyClicks(pane, lines[i]);
    }
}

QAction* Entry(QWidget& window, const char* name) {
    QAction* action = window.findChild<QAction*>(name);
    if (action == nullptr) qFatal("no entry %s", name);
    return action;
}

QMenu* Menu(QWidget& window, const char* name) { return window.findChild<QMenu*>(name); }

// Opens the menu as a person would, so that its enabling rules run, and closes it again.
void OpenMenu(QMenu* menu) {
    emit menu->aboutToShow();
    emit menu->aboutToHide();
}

bool RunEntry(WorkspaceWindow& window, const char* name) {
    QSignalSpy ended(&window, &WorkspaceWindow::commandEnded);
    Entry(window, name)->trigger();
    return ended.wait(60000);
}

QByteArray FileBytes(const QString& name) {
    QFile file(name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// Files this process writes may not grow beyond `bytes` while it lives; a longer write fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

}  // namespace

class WorkspaceWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication* application = qobject_cast<QApplication*>(QCoreApplication::instance());
        PrepareApplication(*application);
    }

    void aMethodRunFromTheWindowWritesWhatTheCommandLineWrites_data() {
        QTest::addColumn<bool>("linear");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QList<bool>>("answers");
        QTest::newRow("Gauss elimination") << true << "Gauss_1" << kSystem << QStringList{"3"} << QList<bool>{};
        QTest::newRow("full pivoting, 3 places")
            << true << "GaussFull" << kSystem << QStringList{"3"} << QList<bool>{};
        QTest::newRow("Jacobi, a coarse tolerance confirmed")
            << true << "JacobiDie" << "10 -1 2 6\n-1 11 -1 25\n2 -1 10 -11"
            << QStringList{"0.5", "3", "0", "0", "0"} << QList<bool>{true};
        QTest::newRow("Jacobi, a coarse tolerance asked again")
            << true << "JacobiDie" << "10 -1 2 6\n-1 11 -1 25\n2 -1 10 -11"
            << QStringList{"0.5", "0.001", "3", "0", "0", "0"} << QList<bool>{false};
        QTest::newRow("order cancelled: the pane keeps its report")
            << true << "LU_break" << kSystem << QStringList{} << QList<bool>{};
        QTest::newRow("Newton") << false << "CalculateNewton" << "x^3-2*x-5"
                                << QStringList{"3*x^2-2", "2", "0.0001"} << QList<bool>{};
        QTest::newRow("Newton fails after its iterations")
            << false << "CalculateNewton" << "x^3-2*x-5" << QStringList{"3", "2", "0.0001"} << QList<bool>{};
        QTest::newRow("bisection") << false << "CalculateDichotomy" << "f(x)=x^3-2*x-5"
                                   << QStringList{"2", "3", "0.001"} << QList<bool>{};
    }

    void aMethodRunFromTheWindowWritesWhatTheCommandLineWrites() {
        QFETCH(bool, linear);
        QFETCH(QString, command);
        QFETCH(QString, editor);
        QFETCH(QStringList, replies);
        QFETCH(QList<bool>, answers);
        ScriptedDialogs dialogs;
        std::vector<std::string> scriptedReplies;
        for (const QString& reply : replies) scriptedReplies.push_back(reply.toStdString());
        dialogs.script(scriptedReplies, std::vector<bool>(answers.begin(), answers.end()));
        WorkspaceWindow window(linear ? WorkspaceKind::Linear : WorkspaceKind::Nonlinear, dialogs);
        window.show();
        TypeText(window.editorPane(), editor);
        const QString previous = QStringLiteral("上一次的报告");
        window.resultPane()->setPlainText(previous);
        // What the pane shows while each dialog is up.
        QStringList shown;
        dialogs.whileShown = [&] { shown << window.resultPane()->toPlainText(); };

        QVERIFY(RunEntry(window, command.toUtf8().constData()));

        QTemporaryDir folder;
        const QString previousFile = folder.filePath("previous.txt");
        WriteFile(previousFile, previous.toUtf8());
        QStringList options{"--result", previousFile};
        for (const QString& reply : replies) options << "--reply" << reply;
        for (bool yes : answers) options << (yes ? "--yes" : "--no");
        const CliRun cli = RunCli(command, options, editor);
        const QByteArray report = QByteArray::fromStdString(PaneText(*window.resultPane()));
        QCOMPARE(report, cli.report);
        QCOMPARE(QByteArray::fromStdString(dialogs.trace()), cli.trace);
        // A message after the iterations is shown over them.
        if (dialogs.trace().find("message") != std::string::npos) {
            QVERIFY(shown.last().contains("x1="));
            QVERIFY(FromReportText(cli.report.toStdString()).startsWith(shown.last()));
        }
        QVERIFY(!window.commandRunning());
        QVERIFY(window.statusText() != QStringLiteral("正在计算……"));
    }

    void methodEntriesFollowTheEditorAndSaveEntriesTheResult() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.show();
        QMenu* methods = Menu(window, "Uncoil");
        QMenu* file = Menu(window, "FileMenu");
        const auto states = [&] {
            OpenMenu(methods);
            OpenMenu(file);
            return QList<bool>{Entry(window, "Gauss_1")->isEnabled(), Entry(window, "SorDie")->isEnabled(),
                               Entry(window, "GaussApply")->isEnabled(),
                               window.findChild<QMenu*>("IterativeAstringency")->menuAction()->isEnabled(),
                               Entry(window, "FileSave")->isEnabled(), Entry(window, "FileSaveAS")->isEnabled()};
        };
        QCOMPARE(states(), (QList<bool>{false, false, false, false, false, false}));
        TypeText(window.editorPane(), "   ");
        window.resultPane()->setPlainText("   ");
        QCOMPARE(states(), (QList<bool>{false, false, false, false, false, false}));
        TypeText(window.editorPane(), "1");
        window.resultPane()->setPlainText(" x ");
        QCOMPARE(states(), (QList<bool>{true, true, true, true, true, true}));

        // The toolbar's save is not held back by the menu's rule, nor is Ctrl+S typed in the editor.
        window.resultPane()->clear();
        dialogs.script({});
        window.toolbarButton("保存");
        window.toolbarButton("没有这个键");
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.editorPane(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dialogs.trace(), std::string("message\t结果为空，不能保存#\nmessage\t结果为空，不能保存#"));
    }

    void aLongEliminationStopsAndLeavesThePaneAsItWas() {
        ScriptedDialogs dialogs;
        dialogs.script({"3000"});
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.show();
        TypeText(window.editorPane(), "1 2 3");
        window.resultPane()->setPlainText("前一个报告");
        QSignalSpy ended(&window, &WorkspaceWindow::commandEnded);
        Entry(window, "Gauss_1")->trigger();
        QTRY_COMPARE(window.statusText(), QStringLiteral("正在计算……"));
        OpenMenu(Menu(window, "Uncoil"));
        QVERIFY(!Entry(window, "Gauss_1")->isEnabled());
        QVERIFY(!Entry(window, "FileOpen")->isEnabled());
        QVERIFY(!Entry(window, "FormatDecimalDigits")->isEnabled());
        QTest::qWait(300);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(ended.wait(5000));
        QCOMPARE(ended.first().first().value<CommandEnd>(), CommandEnd::Stopped);
        QCOMPARE(window.resultPane()->toPlainText(), QStringLiteral("前一个报告"));
        QCOMPARE(window.statusText(), QStringLiteral("编辑状态"));
        OpenMenu(Menu(window, "Uncoil"));
        QVERIFY(Entry(window, "Gauss_1")->isEnabled());
        // The window is usable again: the next command runs to its end.
        dialogs.script({"1"});
        QVERIFY(RunEntry(window, "Gauss_1"));
        QVERIFY(window.resultPane()->toPlainText().endsWith("Gauss消去法解线性方程组"));
    }

    void closingTheWindowStopsItsCommand() {
        ScriptedDialogs dialogs;
        dialogs.script({"3000"});
        auto* window = new WorkspaceWindow(WorkspaceKind::Linear, dialogs);
        QPointer<WorkspaceWindow> alive(window);
        window->show();
        window->editorPane()->setPlainText("1 2 3");
        Entry(*window, "Gauss_1")->trigger();
        QTRY_VERIFY(window->commandRunning());
        QVERIFY(window->close());
        QTRY_VERIFY(alive.isNull());
    }

    void documentsOpenAndSave_data() {
        QTest::addColumn<bool>("linear");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("trace");
        const QByteArray gb18030 = QByteArray::fromHex("d6d0cec4");  // 中文
        QTest::newRow("UTF-8 with a byte-order mark")
            << true << QByteArray("\xEF\xBB\xBF" "1 2\r\n中 3") << QList<bool>{} << "1 2\n中 3" << "open-file\t";
        QTest::newRow("GB18030") << true << gb18030 + "\n2" << QList<bool>{} << "中文\n2" << "open-file\t";
        QTest::newRow("1500 bytes ask nothing")
            << true << QByteArray(1500, '7') << QList<bool>{} << QString(1500, '7') << "open-file\t";
        QTest::newRow("1501 bytes, No: the byte count")
            << true << QByteArray(1501, '7') << QList<bool>{false} << "1501"
            << "open-file\t\nquestion\t温馨提示\t文件太大，如果打开可能要等一段时间，是否仍要继续？\tno";
        QTest::newRow("1501 bytes, Yes")
            << true << QByteArray(1501, '7') << QList<bool>{true} << QString(1501, '7')
            << "open-file\t\nquestion\t温馨提示\t文件太大，如果打开可能要等一段时间，是否仍要继续？\tyes";
        QTest::newRow("empty") << true << QByteArray() << QList<bool>{} << ""
                               << "open-file\t\nmessage\t文件为空，请重新选择文件！";
        QTest::newRow("Ultra takes the first line with more than blanks")
            << false << QByteArray("  \r\n\r\n  x^2-2 \r\nx") << QList<bool>{} << "  x^2-2 " << "open-file\t";
        QTest::newRow("Ultra, only blank lines")
            << false << QByteArray(" \n  \n") << QList<bool>{} << "" << "open-file\t\nmessage\t操作有误！";
    }

    void documentsOpenAndSave() {
        QFETCH(bool, linear);
        QFETCH(QByteArray, file);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, editor);
        QFETCH(QString, trace);
        QTemporaryDir folder;
        const QString name = folder.filePath("输入.txt");
        WriteFile(name, file);
        ScriptedDialogs dialogs;
        dialogs.script({}, std::vector<bool>(answers.begin(), answers.end()), {name});
        WorkspaceWindow window(linear ? WorkspaceKind::Linear : WorkspaceKind::Nonlinear, dialogs);
        window.show();
        window.editorPane()->setPlainText("旧的输入");
        window.resultPane()->setPlainText("旧的结果");
        window.toolbarButton("打开");
        QCOMPARE(QString::fromStdString(dialogs.trace()), trace);
        QCOMPARE(window.editorPane()->toPlainText(), editor);
        const bool declined = answers == QList<bool>{false};
        QCOMPARE(window.resultPane()->toPlainText(), declined ? "旧的结果" : "");
        const bool loaded = !trace.contains("message") && !declined;
        QCOMPARE(window.statusText() == QDir::toNativeSeparators(name), loaded);
    }

    void savingWritesTheReportAndKeepsTheOldFileWhenWritingFails() {
        QTemporaryDir folder;
        const QString report = folder.filePath("报告.txt");
        const QString input = folder.filePath("input.txt");
        WriteFile(input, "1 2");
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.show();
        window.resultPane()->setPlainText("第一行\n  2.5  3");

        // The first save asks for a name, the second writes there without asking.
        dialogs.script({}, {}, {report});
        window.saveResult();
        window.resultPane()->setPlainText("第二次");
        window.saveResult();
        QCOMPARE(dialogs.trace(), std::string("save-file\t"));
        QCOMPARE(FileBytes(report), QByteArray("第二次"));
        QCOMPARE(window.statusText(), QDir::toNativeSeparators(report));

        // After an open, Save asks again; Save As writes an empty pane too.
        window.resultPane()->setPlainText("x\ny");
        dialogs.script({}, {}, {input, report, folder.filePath("empty.txt")});
        window.openDocument();
        window.resultPane()->setPlainText("x\ny");
        window.saveResult();
        window.resultPane()->clear();
        window.saveResultAs();
        QCOMPARE(dialogs.trace(), "open-file\t\nsave-file\t" + report.toStdString() + "\nsave-file\t");
        QCOMPARE(FileBytes(report), QByteArray("x\r\ny"));
        QCOMPARE(FileBytes(folder.filePath("empty.txt")), QByteArray());

        // Cancelled dialogs.
        window.resultPane()->setPlainText("z");
        dialogs.script({}, {}, {});
        window.saveResultAs();
        window.openDocument();
        QCOMPARE(dialogs.trace(), std::string("save-file\t\nmessage\t没有保存文件。\nopen-file\t\n"
                                              "message\t没有打开任何文件。"));

        // A write that fails half way (here: beyond the largest file this process may write)
        // leaves the old report whole.
        dialogs.script({}, {}, {report});
        window.resultPane()->setPlainText(QString(4096, 'w'));
        {
            const FileSizeLimit limit(100);
            window.saveResultAs();
        }
        QCOMPARE(QString::fromStdString(dialogs.trace()), QStringLiteral("save-file\t\nmessage\t操作有误#"));
        QCOMPARE(FileBytes(report), QByteArray("x\r\ny"));
    }

    void decimalDigitsAreClampedToOneToSixteen_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("digits");
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("-5") << "-5" << 1;
        QTest::newRow("20") << "20" << 16;
        QTest::newRow("4.5, halves to even") << "4.5" << 4;
        QTest::newRow("abc") << "abc" << 1;
        QTest::newRow("empty or cancelled") << "" << 1;
        QTest::newRow("beyond 16 bits") << "99999" << 16;
        QTest::newRow("far below") << "-1e300" << 1;
    }

    void decimalDigitsAreClampedToOneToSixteen() {
        QFETCH(QString, reply);
        QFETCH(int, digits);
        ScriptedDialogs dialogs;
        dialogs.script({reply.toStdString()});
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        Entry(window, "FormatDecimalDigits")->trigger();
        QCOMPARE(window.decimalDigits(), digits);
        QCOMPARE(dialogs.trace(), std::string("prompt\t设置小数数位\t输入要设置小数数位 n：\t6"));
        Entry(window, "FormatDefault")->trigger();
        QCOMPARE(window.decimalDigits(), 6);
    }

    void decimalDigitsReachTheReport() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.show();
        window.editorPane()->setPlainText(kSystem);
        dialogs.script({"3", "3"});
        Entry(window, "FormatDecimalDigits")->trigger();
        QVERIFY(RunEntry(window, "GaussTier"));
        QCOMPARE(QByteArray::fromStdString(PaneText(*window.resultPane())),
                 RunCli("GaussTier", {"--reply", "3", "--digits", "3"}, kSystem).report);
    }

    void editCommandsActOnTheEditor() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        window.show();
        QPlainTextEdit* editor = window.editorPane();
        editor->setPlainText("ab\ncd");
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(2);
        editor->setTextCursor(cursor);
        window.resultPane()->setFocus();
        window.deleteForward();  // the line end goes whole
        QCOMPARE(editor->toPlainText(), QStringLiteral("abcd"));
        cursor.movePosition(QTextCursor::End);
        editor->setTextCursor(cursor);
        window.deleteForward();  // nothing after the caret
        QCOMPARE(editor->toPlainText(), QStringLiteral("abcd"));

        QApplication::clipboard()->setText("剩下的");
        window.copySelection();  // an empty selection puts empty text
        QCOMPARE(QApplication::clipboard()->text(), QString());
        window.selectAllText();
        window.cutSelection();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("abcd"));
        QCOMPARE(editor->toPlainText(), QString());
        window.toolbarButton("粘贴");
        window.toolbarButton("粘贴");
        QCOMPARE(editor->toPlainText(), QStringLiteral("abcdabcd"));
    }

    void everyToolbarButtonHasAPictureWithoutAnIconTheme() {
        const QString theme = QIcon::themeName();
        QIcon::setThemeName(QStringLiteral("没有这个主题"));
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        QIcon::setThemeName(theme);
        QStringList withoutPicture;
        for (QAction* action : window.findChild<QToolBar*>("Toolbar1")->actions()) {
            if (!action->isSeparator() && action->icon().pixmap(24).isNull()) withoutPicture << action->text();
        }
        QCOMPARE(withoutPicture, QStringList{});
    }

    void displaySettingsChangeBothPanes() {
        ScriptedDialogs dialogs;
        WorkspaceWindow window(WorkspaceKind::Linear, dialogs);
        QFont chosen(QStringLiteral("Noto Serif CJK SC"), 14);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        dialogs.fontChoice = FontChoice{chosen, Qt::darkRed};
        dialogs.colorChoice = QColor(Qt::yellow);
        Entry(window, "FormatStyle")->trigger();
        Entry(window, "FormatBackColor")->trigger();
        for (QPlainTextEdit* pane : {window.editorPane(), window.resultPane()}) {
            QCOMPARE(pane->font().family(), QStringLiteral("Noto Serif CJK SC"));
            QCOMPARE(pane->font().pointSize(), 14);
            QVERIFY(pane->font().italic() && pane->font().underline());
            QCOMPARE(pane->palette().color(QPalette::Text), QColor(Qt::darkRed));
            QCOMPARE(pane->palette().color(QPalette::Base), QColor(Qt::yellow));
        }
        Entry(window, "FormatDefault")->trigger();
        for (QPlainTextEdit* pane : {window.editorPane(), window.resultPane()}) {
            QCOMPARE(pane->font().family(), QStringLiteral("宋体"));
            QCOMPARE(pane->font().pointSize(), 9);
            QVERIFY(!pane->font().italic() && !pane->font().underline());
            QCOMPARE(pane->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
        }
        // "宋体" is drawn by a font with one-width Latin and two-width Chinese characters.
        const QFontMetrics metrics(window.resultPane()->font());
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("中")), 2 * metrics.horizontalAdvance('x'));
        QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
    }

    void statusTextsFollowTheFocus() {
        ScriptedDialogs dialogs;
        for (const bool linear : {true, false}) {
            WorkspaceWindow window(linear ? WorkspaceKind::Linear : WorkspaceKind::Nonlinear, dialogs);
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            // The window's first focus, and the focus coming back from a dialog, say nothing.
            QStringList seen{window.statusText()};
            QTest::mouseClick(window.resultPane()->viewport(), Qt::LeftButton);
            seen << window.statusText();
            QTest::mouseClick(window.editorPane()->viewport(), Qt::LeftButton);
            seen << window.statusText();
            QTest::keyClicks(window.editorPane(), "1");
            seen << window.statusText();
            window.newDocument();
            seen << window.statusText();
            const QStringList expected = linear
                ? QStringList{"状态", "结果区域", "编辑区域", "编辑状态", "状态"}
                : QStringList{"状态", "计算结果区域", "在此输入函数方程式f(x)=?", "在此输入函数方程式f(x)=?",
                              "在此输入函数方程式f(x)=?"};
            QCOMPARE(seen, expected);
        }
    }
};

QTEST_MAIN(WorkspaceWindowTest)
#include "workspace_window_test.moc"
