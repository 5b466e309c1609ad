// The start window: one window per workspace, its clock, and what closing it takes along.

#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QStyle>
#include <QTextBrowser>
#include <QLineEdit>

#include "ui/about_box.h"
#include "ui/chooser_window.h"
#include "ui/ode_window.h"
#include "ui/application.h"
#include "ui/exit_splash.h"
#include "ui/help_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/installation.h"
#include "ui/start_window.h"

#include <QTemporaryDir>

using namespace koravin;
using koravin::testing::ScriptedDialogs;

namespace {

// A tune service without sound: writes down the commands, and fails to open like a machine
// without an audio device.
class RecordingTune : public CommandStringService {
public:
    explicit RecordingTune(QStringList& sent) : sent_(sent) {}
    int send(std::string_view command) override {
        sent_ << QString::fromUtf8(command.data(), static_cast<qsizetype>(command.size()));
        return command.starts_with("open") ? kOpenFailed : kCommandSucceeded;
    }

private:
    QStringList& sent_;
};

QStringList VisibleWindows() {
    QStringList names;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) names << window->objectName();
    }
    names.sort();
    return names;
}

// Collects the addresses handed to the desktop's browser.
class AddressCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace

class StartWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PrepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    // The start window keeps its size: no maximise button; it opens in the middle of the screen
    // of itself, without a window manager to place it.
    void theStartWindowOpensCentredWithoutMaximise() {
        ScriptedDialogs dialogs;
        StartWindow start(dialogs, [] { return std::unique_ptr<CommandStringService>(); });
        QVERIFY(!(start.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(start.windowFlags() & Qt::WindowMinimizeButtonHint);
        const QRect screen = start.screen()->availableGeometry();
        QVERIFY(start.width() > 100);
        QCOMPARE(start.geometry().center(), QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, start.size(), screen).center());
    }

    void eachButtonOpensOneWorkspaceAndBringsItBackAsItWas() {
        ScriptedDialogs dialogs;
        QStringList tune;
        auto* start = new StartWindow(dialogs, [&] { return std::make_unique<RecordingTune>(tune); });
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

        // Closing the start window closes every other window and leaves the exit splash,
        // which plays its tune, silently where there is no sound.
        start->showAbout();
        start->showAbout();
        QTest::mouseClick(start->findChild<QPushButton*>("Command6"), Qt::LeftButton);
        start->showChooser()->showMethod(OdeMethod::Euler);
        QCOMPARE(VisibleWindows(), (QStringList{"FrmAbout", "Koravin", "LinearFrm", "Ultra", "UsDi_Euler",
                                                "UsualDiffEquation"}));
        QPointer<QPlainTextEdit> editorAlive(editor);
        start->close();
        QTRY_VERIFY(editorAlive.isNull());
        QTRY_COMPARE(VisibleWindows(), QStringList{"FrmExit"});
        const QString file = InstallationDirectory() + "/music/END.MID";
        QCOMPARE(tune, (QStringList{"stop tune1", "close tune1", "open " + file + " alias tune1"}));
        auto* splash = qobject_cast<ExitSplash*>(QApplication::topLevelWidgets().constFirst()->window());
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "FrmExit") splash = qobject_cast<ExitSplash*>(window);
        }
        tune.clear();
        QTest::mouseClick(splash, Qt::LeftButton);
        QCOMPARE(tune, (QStringList{"stop tune1", "close tune1", "stop tune1", "close tune1"}));
        QTRY_COMPARE(VisibleWindows(), QStringList{});
    }

    void theSplashScrollsItsCreditsInAnEndlessLoop() {
        QCOMPARE(ExitSplash::ScrollStep(6885), 28);
        QCOMPARE(ExitSplash::ScrollStep(375), 2);  // 1.5 goes to the even 2
        QCOMPARE(ExitSplash::ScrollStep(625), 2);  // 2.5 goes to the even 2
        QStringList tune;
        ExitSplash splash(std::make_unique<RecordingTune>(tune), "曲子.MID");
        splash.show();
        QCOMPARE(splash.geometry().center(), splash.screen()->availableGeometry().center());
        QLabel* credits = splash.credits();
        QVERIFY(credits->text().startsWith("Koravin\n"));
        QCOMPARE(credits->y(), splash.height());
        const int step = ExitSplash::ScrollStep(splash.height());
        int ticks = 0;
        for (int top = credits->y(); top - step >= -credits->height(); top -= step, ++ticks) {
            splash.scroll();
            QCOMPARE(credits->y(), top - step);
        }
        splash.scroll();
        QCOMPARE(credits->y(), splash.height());
        QVERIFY(ticks > 250);
    }

    void helpAndAboutOpenTheProgramsOwnPages() {
        QCOMPARE(InstallationDirectory("/opt/koravin/bin"), QStringLiteral("/opt/koravin/share/koravin"));
        QTemporaryDir folder;
        QFile index(folder.filePath("index.html"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("<html><head><title>帮助目录</title></head><body><a href='b.html'>乙</a> 甲 甲</body></html>");
        index.close();
        QWidget owner;
        OpenHelpFile(&owner, folder.path() + "/没有");
        QVERIFY(owner.findChild<HelpWindow*>() == nullptr);
        OpenHelpFile(&owner, folder.path());
        OpenHelpFile(&owner, folder.path());
        QCOMPARE(owner.findChildren<HelpWindow*>().size(), 1);
        HelpWindow* help = owner.findChild<HelpWindow*>();
        QCOMPARE(help->windowTitle(), QStringLiteral("帮助目录"));
        help->findChild<QLineEdit*>("FindText")->setText("甲");
        help->findNext();
        const int first = help->browser()->textCursor().position();
        help->findNext();
        QVERIFY(help->browser()->textCursor().position() > first);
        help->findNext();
        QCOMPARE(help->browser()->textCursor().position(), first);

        AddressCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        QDesktopServices::setUrlHandler("https", &catcher, "open");
        AboutBox about;
        QCOMPARE(about.windowTitle(), QStringLiteral("关于Koravin软件"));
        QCOMPARE(about.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("版本 " KORAVIN_VERSION));
        QVERIFY(QFile::exists(KORAVIN_PACKAGING_DIR "/" + QGuiApplication::desktopFileName() + ".desktop"));
        QVERIFY(!QApplication::windowIcon().pixmap(48).isNull());
        QStringList captions;
        for (const char* name : {"lblBlog", "lblBlog1", "lblBlog2", "lblBlog3"}) {
            auto* link = about.findChild<QLabel*>(name);
            QCOMPARE(link->toolTip(), QStringLiteral("点击打开"));
            captions << link->text();
            QTest::mouseClick(link, Qt::LeftButton);
        }
        QCOMPARE(captions, (QStringList{"作者博客", "作者博客1", "作者博客2", "作者博客3"}));
        OpenWebAddress("   ");
        OpenWebAddress("https://example.org/koravin");
        QStringList pages;
        for (const QUrl& url : catcher.opened) pages << url.fileName();
        QCOMPARE(pages, (QStringList{"index.html", "linear.html", "nonlinear.html", "ode.html", "index.html", "koravin"}));
        QVERIFY(!about.findChild<QLabel*>("Picture1")->pixmap().isNull());
        QDesktopServices::unsetUrlHandler("file");
        QDesktopServices::unsetUrlHandler("https");
    }

    void theClockTicksTheCreditLineThroughFifteenColours() {
        ScriptedDialogs dialogs;
        QStringList tune;
        StartWindow start(dialogs, [&] { return std::make_unique<RecordingTune>(tune); });
        auto* credit = start.findChild<QLabel*>("Label2");
        auto* clock = start.findChild<QLabel*>("Label3");
        QVERIFY(clock->text().isEmpty());
        start.show();
        QApplication::processEvents();
        const QSize size = start.size();
        const bool italic = credit->font().italic();
        QSet<QRgb> colours;
        for (int tick = 1; tick <= 400; ++tick) {
            start.tick();
            if (tick <= 2) {
                QApplication::processEvents();
                QCOMPARE(start.size(), size);  // a slanted credit line does not resize the window
            }
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
