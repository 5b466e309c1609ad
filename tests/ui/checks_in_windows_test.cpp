// The checks beside the reports, as a person turns them on and off: one setting for every window,
// kept between runs of the program; when on, the pane (and so a saved file) holds the report, a
// blank line, "—— 检验 ——" and the block, exactly as koravin-cli --check prints them; when off, the
// report alone.

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "registry/registry.h"
#include "ui/application.h"
#include "ui/check_setting.h"
#include "ui/cli_run.h"
#include "ui/ode_window.h"
#include "ui/pane_text.h"
#include "ui/scripted_dialogs.h"
#include "ui/workspace_window.h"

using namespace koravin;
using koravin::testing::RunCli;
using koravin::testing::ScriptedDialogs;

namespace {

// The report, exactly one blank line, the heading and at least one line of checks.
bool ReportThenChecks(const QByteArray& report, const QByteArray& withChecks) {
    const QByteArray heading = (report.endsWith("\r\n") ? "\r\n" : "\r\n\r\n") + QByteArray("—— 检验 ——\r\n");
    return withChecks.startsWith(report + heading) && withChecks.size() > report.size() + heading.size() + 2;
}

std::vector<std::string> Replies(const QStringList& replies) {
    std::vector<std::string> script;
    for (const QString& reply : replies) script.push_back(reply.toStdString());
    return script;
}

template <typename Window>
bool Run(Window& window, const std::function<void()>& start) {
    QSignalSpy ended(&window, &Window::commandEnded);
    start();
    return ended.wait(20000);
}

QByteArray PaneBytes(const QPlainTextEdit& pane) { return QByteArray::fromStdString(PaneText(pane)); }

QAction* ChecksEntry(QWidget& window) {
    for (const char* name : {"FormatChecks", "ShowChecks"}) {
        if (auto* entry = window.findChild<QAction*>(name)) return entry;
    }
    qFatal("no checks entry");
}

// Opens the display menu as a person would, so that it reads the setting, and closes it again.
void OpenDisplayMenu(QWidget& window) {
    for (const char* name : {"Format", "mnuShow"}) {
        if (auto* menu = window.findChild<QMenu*>(name)) {
            emit menu->aboutToShow();
            return;
        }
    }
}

}  // namespace

class ChecksInWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        PrepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
        SetChecksFollowReports(false);
    }

    void theSettingIsSharedByTheWorkspacesAndKept() {
        ScriptedDialogs dialogs;
        WorkspaceWindow linear(WorkspaceKind::Linear, dialogs);
        QAction* linearEntry = ChecksEntry(linear);
        QCOMPARE(linearEntry->text(), QStringLiteral("附加检验"));
        QVERIFY(linearEntry->isCheckable());
        QVERIFY(!linearEntry->isChecked());

        WorkspaceWindow nonlinear(WorkspaceKind::Nonlinear, dialogs);
        linearEntry->trigger();
        QVERIFY(ChecksFollowReports());
        // The other workspace shows the change the next time its menu opens; a new one at once.
        OpenDisplayMenu(nonlinear);
        QVERIFY(ChecksEntry(nonlinear)->isChecked());
        WorkspaceWindow another(WorkspaceKind::Linear, dialogs);
        QVERIFY(ChecksEntry(another)->isChecked());
        OdeWindow ode(OdeMethod::Euler, dialogs);
        QVERIFY(ode.findChild<QCheckBox*>("Checks")->isChecked());

        ChecksEntry(nonlinear)->trigger();
        QVERIFY(!ChecksFollowReports());
        OpenDisplayMenu(linear);
        QVERIFY(!linearEntry->isChecked());
    }

    void theBlockFollowsTheReportInTheWorkspacesAndTheirSavedFiles_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QStringList>("replies");
        QTest::newRow("Gauss_1") << int(WorkspaceKind::Linear) << "Gauss_1" << "2 1 -1 8\n-3 -1 2 -11\n-2 1 2 -3"
                                 << QStringList{"3"};
        QTest::newRow("JacobiDie") << int(WorkspaceKind::Linear) << "JacobiDie" << "4 -1 0 2\n-1 4 -1 4\n0 -1 4 10"
                                   << QStringList{"1E-06", "3", "0", "0", "0"};
        QTest::newRow("CalculateNewton") << int(WorkspaceKind::Nonlinear) << "CalculateNewton" << "x^3-2*x-5"
                                         << QStringList{"3*x^2-2", "2", "1E-10"};
    }

    void theBlockFollowsTheReportInTheWorkspacesAndTheirSavedFiles() {
        QFETCH(int, kind);
        QFETCH(QString, command);
        QFETCH(QString, editor);
        QFETCH(QStringList, replies);
        QStringList replyOptions;
        for (const QString& reply : replies) replyOptions << "--reply" << reply;
        const auto report = RunCli(command, replyOptions, editor).report;
        const auto withChecks = RunCli(command, replyOptions + QStringList{"--check"}, editor).report;
        QVERIFY(ReportThenChecks(report, withChecks));

        ScriptedDialogs dialogs;
        WorkspaceWindow window(static_cast<WorkspaceKind>(kind), dialogs);
        window.show();
        window.editorPane()->setPlainText(editor);
        const CommandInfo& info = *FindCommand(command.toStdString());
        const auto runWith = [&](bool checks) {
            if (ChecksEntry(window)->isChecked() != checks) ChecksEntry(window)->trigger();
            dialogs.script(Replies(replies));
            return Run(window, [&] { window.runCommand(info); });
        };

        QVERIFY(runWith(true));
        QCOMPARE(PaneBytes(*window.resultPane()), withChecks);
        QTemporaryDir folder;
        const QString saved = folder.filePath("report.txt");
        dialogs.script({}, {}, {saved});
        window.saveResultAs();
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), withChecks);

        QVERIFY(runWith(false));
        QCOMPARE(PaneBytes(*window.resultPane()), report);
    }

    void theDifferentialEquationWindowsPutTheBlockUnderTheTable() {
        ScriptedDialogs dialogs;
        OdeWindow window(OdeMethod::RungeKutta, dialogs);
        window.show();
        const std::pair<const char*, const char*> fields[] = {
            {"Text1", "y"}, {"Text2", "0"}, {"Text3", "1"}, {"Text4", "10"}, {"ExactSolution", "exp(x)"}};
        QStringList options{"--reply", "1", "--field", "Exact=exp(x)"};
        for (const auto& [name, text] : fields) {
            window.findChild<QLineEdit*>(name)->setText(text);
            if (QByteArray(name).startsWith("Text")) options << "--field" << QString("%1=%2").arg(name, text);
        }
        const auto table = RunCli("UsDi_RungeKutta", options).report;
        const auto withChecks = RunCli("UsDi_RungeKutta", options + QStringList{"--check"}).report;
        QVERIFY(ReportThenChecks(table, withChecks));

        auto* checks = window.findChild<QCheckBox*>("Checks");
        QCOMPARE(checks->text(), QStringLiteral("附加检验"));
        QCOMPARE(checks->accessibleName(), QStringLiteral("附加检验"));
        checks->setChecked(true);
        QVERIFY(ChecksFollowReports());
        dialogs.script({"1"});
        QVERIFY(Run(window, [&] { window.compute(); }));
        QCOMPARE(PaneBytes(*window.resultPane()), withChecks);

        checks->setChecked(false);
        QVERIFY(!ChecksFollowReports());
        dialogs.script({"1"});
        QVERIFY(Run(window, [&] { window.compute(); }));
        QCOMPARE(PaneBytes(*window.resultPane()), table);
    }
};

QTEST_MAIN(ChecksInWindowsTest)
#include "checks_in_windows_test.moc"
