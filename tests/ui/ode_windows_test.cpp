// The chooser and the three differential-equation windows driven as a person drives them: typing
// into the fields, pressing Command1 and the spinner, answering the prompts (scripted).

#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

#include "ui/application.h"
#include "ui/cli_run.h"
#include "ui/chooser_window.h"
#include "ui/ode_window.h"
#include "ui/pane_text.h"
#include "ui/scripted_dialogs.h"

using namespace koravin;
using koravin::testing::ScriptedDialogs;

namespace {

template <typename Widget = QLineEdit>
Widget* Child(QWidget& window, const char* name) {
    Widget* widget = window.findChild<Widget*>(name);
    if (widget == nullptr) qFatal("no %s", name);
    return widget;
}

// Selects what each field holds and types over it; an empty text erases it.
void TypeFields(QWidget& window, const QStringList& texts, int first = 1) {
    for (qsizetype i = 0; i < texts.size(); ++i) {
        QLineEdit* field = Child(window, QString("Text%1").arg(first + i).toLatin1().constData());
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        if (texts[i].isEmpty()) QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, texts[i]);
    }
}

bool PressCompute(OdeWindow& window) {
    QSignalSpy ended(&window, &OdeWindow::commandEnded);
    QTest::mouseClick(Child<QPushButton>(window, "Command1"), Qt::LeftButton);
    return ended.wait(60000);
}

QStringList VisibleOdeWindows() {
    QStringList windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<OdeWindow*>(widget) != nullptr && widget->isVisible()) {
            windows << widget->objectName() + " " + widget->windowTitle() + " " +
                           Child<QPushButton>(*widget, "Command1")->text();
        }
    }
    windows.sort();
    return windows;
}

// koravin-cli's report and trace for the same fields and replies, the pane holding `previous`.
std::pair<QByteArray, QByteArray> RunCliOnFields(const QString& command, const QStringList& fields,
                                                 const QStringList& replies, const QString& previous) {
    QTemporaryFile pane;
    pane.open();
    pane.write(previous.toUtf8());
    pane.close();
    QStringList options{"--result", pane.fileName()};
    for (qsizetype i = 0; i < fields.size(); ++i) options << "--field" << QString("Text%1=%2").arg(i + 1).arg(fields[i]);
    for (const QString& reply : replies) options << "--reply" << reply;
    const koravin::testing::CliRun run = koravin::testing::RunCli(command, options);
    return {run.report, run.trace};
}

}  // namespace

class OdeWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    // The headings count their padding in characters and a Chinese character is drawn two digits
    // wide; on screen each still ends where its column's numbers end, and the text is as saved.
    void theHeadingsStandOverTheirColumns_data() {
        QTest::addColumn<int>("method");
        QTest::newRow("Euler") << int(OdeMethod::Euler);
        QTest::newRow("Runge-Kutta") << int(OdeMethod::RungeKutta);
        QTest::newRow("Adams") << int(OdeMethod::Adams);
    }
    void theHeadingsStandOverTheirColumns() {
        QFETCH(int, method);
        ScriptedDialogs dialogs;
        OdeWindow window(OdeMethod(method), dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TypeFields(window, {"x+y", "0", "1", "4"});
        dialogs.script({"1", "1", "1", "1"});
        QVERIFY(PressCompute(window));
        QPlainTextEdit* pane = window.resultPane();
        const QStringList lines = pane->toPlainText().split('\n');
        QCOMPARE(lines[0].size(), 72);
        const auto columnEnd = [pane](int line, int field) {
            QTextCursor cursor(pane->document()->findBlockByNumber(line));
            cursor.setPosition(cursor.position() + 24 * field);
            return pane->cursorRect(cursor).left();
        };
        for (const int field : {1, 2, 3}) QCOMPARE(columnEnd(0, field), columnEnd(1, field));
        QCOMPARE(QString::fromStdString(PaneText(*pane)).split("\r\n").first(), lines[0]);
    }

    void fixedSizeWindowsOfferNoMaximise() {
        ScriptedDialogs dialogs;
        ChooserWindow chooser(dialogs);
        OdeWindow euler(OdeMethod::Euler, dialogs);
        for (QWidget* window : std::initializer_list<QWidget*>{&chooser, &euler}) {
            QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
            QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
            QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        }
    }

    void theChooserOpensEachWindowOnceAndClosesThemInOrder() {
        ScriptedDialogs dialogs;
        auto* chooser = new ChooserWindow(dialogs);
        chooser->show();
        QStringList captions{chooser->windowTitle()};
        for (const char* name : {"Command1", "Command2", "Command3", "cmdHelp"}) {
            captions << Child<QPushButton>(*chooser, name)->text();
        }
        QCOMPARE(captions, (QStringList{"常微分方程的数值解法", "欧拉(Euler)方法", "龙格库塔(Runge-Kutta)方法",
                                        "线性多步方法", "帮助"}));
        QSignalSpy help(chooser, &ChooserWindow::helpRequested);
        QTest::mouseClick(Child<QPushButton>(*chooser, "cmdHelp"), Qt::LeftButton);
        QCOMPARE(help.size(), 1);
        QCOMPARE(help[0][0].value<QWidget*>(), chooser);

        for (const char* name : {"Command1", "Command2", "Command3", "Command1"}) {
            QTest::mouseClick(Child<QPushButton>(*chooser, name), Qt::LeftButton);
        }
        QCOMPARE(VisibleOdeWindows(),
                 (QStringList{"UsDi_Adams 常微分方程的数值解法—Adams方法 线性多步方法(Adams)计算",
                              "UsDi_Euler 常微分方程的数值解法—Euler方法 欧拉(Euler)计算",
                              "UsDi_RungeKutta 常微分方程的数值解法—RungeKutta 龙格库塔(Runge-Kutta)方法计算"}));

        // Pressed again, the Euler window comes back as it was left.
        OdeWindow* euler = chooser->showMethod(OdeMethod::Euler);
        TypeFields(*euler, {"y", "0", "1", "5"});
        dialogs.script({"1"});
        QVERIFY(PressCompute(*euler));
        QTest::mouseClick(Child<QPushButton>(*chooser, "Command1"), Qt::LeftButton);
        QCOMPARE(chooser->showMethod(OdeMethod::Euler), euler);
        QCOMPARE(Child(*euler, "Text4")->text(), QStringLiteral("5"));
        QCOMPARE(euler->resultPane()->blockCount(), 8);

        QStringList closed;
        for (OdeMethod method : {OdeMethod::Euler, OdeMethod::RungeKutta, OdeMethod::Adams}) {
            QWidget* window = chooser->showMethod(method);
            connect(window, &QObject::destroyed, this, [&closed, name = window->objectName()] { closed << name; });
        }
        QVERIFY(chooser->close());
        QTRY_COMPARE(closed, (QStringList{"UsDi_Adams", "UsDi_Euler", "UsDi_RungeKutta"}));

        ChooserWindow again(dialogs);
        again.show();
        OdeWindow* fresh = again.showMethod(OdeMethod::Euler);
        QStringList contents;
        for (const char* name : {"Text1", "Text2", "Text3", "Text4"}) contents << Child(*fresh, name)->text();
        QCOMPARE(contents << fresh->resultPane()->toPlainText(), (QStringList{"", "", "", "2", ""}));
    }

    void aComputeShowsWhatTheCommandLineShows_data() {
        QTest::addColumn<OdeMethod>("method");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QString>("trace");  // "" when only the command line's trace is compared
        QTest::addColumn<QString>("focus");
        const OdeMethod euler = OdeMethod::Euler;
        const QString ask = "prompt\t输入初始数值\t请输入原函数F(%1)的值\t1\n";
        QTest::newRow("Euler") << euler << QStringList{"y-2*x/y", "0", "1", "10"} << QStringList{"1"} << ""
                               << "Command1";
        QTest::newRow("Runge-Kutta, 32767 divisions: 32768 rows")
            << OdeMethod::RungeKutta << QStringList{"y-2*x/y", "0", "1", "32767"} << QStringList{"1"} << ""
            << "Command1";
        QTest::newRow("Adams, four starting values")
            << OdeMethod::Adams << QStringList{"y-2*x/y", "0", "1", "10"}
            << QStringList{"1", "1.0954", "1.1832", "1.2649"} << "" << "Command1";
        QTest::newRow("Adams, two divisions: three values, no step")
            << OdeMethod::Adams << QStringList{"x^3", "-1", "1", "2"} << QStringList{"0.25", "0", "0.25"} << ""
            << "Command1";
        QTest::newRow("f only blanks") << euler << QStringList{"   ", "0", "1"} << QStringList{}
                                       << "message\t没有输入函数F(x)导数。" << "Text1";
        QTest::newRow("no lower bound") << euler << QStringList{"y", " ", "1"} << QStringList{}
                                        << "message\t没有输入下界值。" << "Command1";
        QTest::newRow("no upper bound") << euler << QStringList{"y", "0", ""} << QStringList{}
                                        << "message\t没有输入上界值。" << "Command1";
        QTest::newRow("upper below lower") << euler << QStringList{"y", "1", "0"} << QStringList{}
                                           << "message\t上下界值输入有误！" << "Command1";
        QTest::newRow("f cannot be evaluated") << euler << QStringList{"sin(", "0", "1"} << QStringList{}
                                               << "message\t函数表达式输入有误！" << "Text1";
        QTest::newRow("initial value cancelled") << OdeMethod::RungeKutta << QStringList{"y", "0", "1"}
                                                 << QStringList{} << ask.arg(0) + "message\t没有输入初始函数值。"
                                                 << "Command1";
        QTest::newRow("third starting value cancelled")
            << OdeMethod::Adams << QStringList{"y", "0", "1"} << QStringList{"1", "1"}
            << ask.arg(0) + ask.arg(0.5) + ask.arg(1) + "message\t没有输入第2个的初始函数值。" << "Command1";
    }

    void aComputeShowsWhatTheCommandLineShows() {
        QFETCH(OdeMethod, method);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, replies);
        QFETCH(QString, trace);
        QFETCH(QString, focus);
        ScriptedDialogs dialogs;
        std::vector<std::string> script;
        for (const QString& reply : replies) script.push_back(reply.toStdString());
        dialogs.script(script);
        OdeWindow window(method, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TypeFields(window, fields);
        const QString previous = QStringLiteral("上一次的表");
        window.resultPane()->setPlainText(previous);
        QPushButton* compute = Child<QPushButton>(window, "Command1");
        QList<bool> enabledWhileAsked;
        QElapsedTimer sinceLastAnswer;
        dialogs.whileShown = [&] {
            enabledWhileAsked << compute->isEnabled();
            sinceLastAnswer.start();
        };

        QVERIFY(PressCompute(window));
        window.resultPane()->viewport()->repaint();
        qInfo("%d lines on screen %lld ms after the last answer", window.resultPane()->blockCount(),
              sinceLastAnswer.elapsed());

        const auto [report, cliTrace] = RunCliOnFields(window.objectName(), fields, replies, previous);
        QCOMPARE(QByteArray::fromStdString(PaneText(*window.resultPane())), report);
        QCOMPARE(QByteArray::fromStdString(dialogs.trace()), cliTrace);
        if (!trace.isEmpty()) QCOMPARE(QString::fromStdString(dialogs.trace()), trace);
        QVERIFY(!enabledWhileAsked.contains(true));
        QVERIFY(compute->isEnabled());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    void theDivisionCountStaysWithinOneTo32767_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("stepped");
        QTest::newRow("0") << "0" << false << "1" << 1 << "2";
        QTest::newRow("-5 pasted, and no step below 1") << "-5" << true << "1" << -1 << "1";
        QTest::newRow("40000, and no step above") << "40000" << false << "32767" << 2 << "32767";
        QTest::newRow("2.5 stays; up to 3") << "2.5" << false << "2.5" << 1 << "3";
        QTest::newRow("2.5 stays; down to 2") << "2.5" << false << "2.5" << -1 << "2";
        QTest::newRow("emptied") << "" << false << "1" << 3 << "4";
        // "-" alone reads as 0 and becomes a selected "1", which the "5" then replaces.
        QTest::newRow("a correction is typed over") << "-5" << false << "5" << -2 << "3";
        QTest::newRow("down from the top") << "32767" << false << "32767" << -1 << "32766";
    }

    void theDivisionCountStaysWithinOneTo32767() {
        QFETCH(QString, typed);
        QFETCH(bool, pasted);
        QFETCH(QString, shown);
        QFETCH(int, steps);
        QFETCH(QString, stepped);
        ScriptedDialogs dialogs;
        OdeWindow window(OdeMethod::Euler, dialogs);
        window.show();
        QLineEdit* divisions = Child(window, "Text4");
        QCOMPARE(divisions->text(), QStringLiteral("2"));
        if (pasted) {
            QApplication::clipboard()->setText(typed);
            QTest::keyClick(divisions, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(divisions, Qt::Key_V, Qt::ControlModifier);
        } else {
            TypeFields(window, {typed}, 4);
        }
        QCOMPARE(divisions->text(), shown);
        QToolButton* button = Child<QToolButton>(window, steps > 0 ? "UpDown1Up" : "UpDown1Down");
        for (int i = 0; i < std::abs(steps); ++i) QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(divisions->text(), stepped);
        QCOMPARE(button->isEnabled(), stepped != "1" && stepped != "32767");
        QTest::keyClick(divisions, Qt::Key_Up);
        QCOMPARE(divisions->text(), QString::number(std::min(stepped.toInt() + 1, 32767)));
    }

    void escapeAndClosingStopALongCompute() {
        ScriptedDialogs dialogs;
        auto* window = new OdeWindow(OdeMethod::RungeKutta, dialogs);
        const QPointer<OdeWindow> alive(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        // About the costliest f the engine accepts, at the most divisions: a good part of a second.
        TypeFields(*window, {"y" + QString("+x^y^x").repeated(60), "0", "1", "32767"});
        window->resultPane()->setPlainText(QStringLiteral("上一次的表"));
        QPushButton* compute = Child<QPushButton>(*window, "Command1");

        for (const bool escape : {true, false}) {
            dialogs.script({"1"});
            QSignalSpy ended(window, &OdeWindow::commandEnded);
            QTest::mouseClick(compute, Qt::LeftButton);
            QTRY_VERIFY(!dialogs.trace().empty());
            QVERIFY(window->commandRunning());
            QVERIFY(!compute->isEnabled());
            if (!escape) break;
            QTest::keyClick(window, Qt::Key_Escape);
            QVERIFY(ended.wait(60000));
            QCOMPARE(ended.first().first().value<CommandEnd>(), CommandEnd::Stopped);
            QCOMPARE(window->resultPane()->toPlainText(), QStringLiteral("上一次的表"));
            QVERIFY(compute->isEnabled());
        }
        QVERIFY(window->close());
        QVERIFY(!window->commandRunning());
        QTRY_VERIFY(alive.isNull());
    }
};

QTEST_MAIN(OdeWindowsTest)
#include "ode_windows_test.moc"
