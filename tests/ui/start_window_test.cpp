// The start window: one window per workspace, its clock, and what closing it takes along.

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "ui/application.h"
#include "ui/scripted_dialogs.h"
#include "ui/start_window.h"

using namespace koravin;
using koravin::testing::ScriptedDialogs;

class StartWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void eachButtonOpensOneWorkspaceAndBringsItBackAsItWas() {
        ScriptedDialogs dialogs;
        auto* start = new StartWindow(dialogs);
        start->show();
        QCOMPARE(start->windowTitle(), QStringLiteral("Koravin"));
        const QStringList captions = [&] {
            QStringList texts;
            for (const char* name : {"cmdAbout", "Command6", "Command1", "Command2", "cmdHelp"}) {
                texts << start->findChild<QPushButton*>(name)->text();
            }
            return texts;
        }();
        QCOMPARE(captions, (QStringList{"关于", "常微分方程的数值解法", "线性方程组(多元一次方程组)的数值解法",
                                        "非线性方程的数值解法", "帮助"}));

        QTest::mouseClick(start->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QPointer<QMainWindow> linear = qobject_cast<QMainWindow*>(QApplication::activeWindow());
        const auto linearWindows = [] {
            int count = 0;
            for (QWidget* window : QApplication::topLevelWidgets()) count += window->objectName() == "LinearFrm";
            return count;
        };
        QCOMPARE(linearWindows(), 1);
        QPlainTextEdit* editor = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "LinearFrm") editor = window->findChild<QPlainTextEdit*>("Text1");
        }
        QVERIFY(editor != nullptr);
        editor->setPlainText("1 2");
        QTest::mouseClick(start->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QTest::mouseClick(start->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QCOMPARE(linearWindows(), 1);
        QCOMPARE(editor->toPlainText(), QStringLiteral("1 2"));

        // Closing the start window closes the workspaces with it.
        QPointer<QPlainTextEdit> editorAlive(editor);
        start->close();
        QTRY_VERIFY(editorAlive.isNull());
        QTRY_COMPARE(linearWindows(), 0);
    }

    void theClockTicksTheCreditLineThroughFifteenColours() {
        ScriptedDialogs dialogs;
        StartWindow start(dialogs);
        auto* credit = start.findChild<QLabel*>("Label2");
        auto* clock = start.findChild<QLabel*>("Label3");
        QVERIFY(clock->text().isEmpty());
        const bool italic = credit->font().italic();
        QSet<QRgb> colours;
        for (int tick = 1; tick <= 400; ++tick) {
            start.tick();
            QCOMPARE(credit->font().italic(), tick % 2 == 0 ? italic : !italic);
            colours.insert(credit->palette().color(QPalette::WindowText).rgb());
        }
        QVERIFY(QTime::fromString(clock->text(), Qt::TextDate).isValid());
        QCOMPARE(colours.size(), 15);
        QVERIFY(!colours.contains(TextModeColor(15).rgb()));
    }
};

QTEST_MAIN(StartWindowTest)
#include "start_window_test.moc"
