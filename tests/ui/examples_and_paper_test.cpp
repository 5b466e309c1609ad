// 示例 and the way out on paper, driven as a person drives them: an example chosen from the menu
// or the button, the question before typed text is replaced, and the report exported as a PDF or
// printed (through QPrinter to a PDF file), read back with poppler's text tools.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
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
