// The pictures beside the reports, as the windows draw them: Ultra's pane from its display menu
// with the last run's steps, and the differential-equation windows' curves against an exact
// solution. The reports themselves are tested elsewhere; here only that they stay the same.

#include <QAction>
#include <QChart>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QSignalSpy>
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
        StringPane reference;
        ScriptedInteraction answers({"3*x^2-2", "3", "1E-8"}, {});
        CommandContext context{"x^3-2*x-5", reference, answers, 6, {}, {}};
        FindCommand("CalculateNewton")->run(context);
        QCOMPARE(PaneText(*window.resultPane()), reference.text());

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
