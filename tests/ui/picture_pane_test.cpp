// The picture beside a report as a person sees it: f and the steps of a method, the columns of a
// differential-equation table against the exact solution, the mouse, and the exported files. The steps and columns come from the commands themselves.

#include <cmath>
#include <deque>

#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>
#include <QWheelEvent>
#include <QChart>
#include <QChartView>

#include "expr/expression.h"
#include "expr/prepare_expression.h"
#include "registry/registry.h"
#include "ui/application.h"
#include "ui/picture_pane.h"

using namespace koravin;

namespace {

class Replies : public Interaction {
public:
    explicit Replies(std::vector<std::string> replies) : replies_(replies.begin(), replies.end()) {}
    std::string ask(const Prompt&) override {
        if (replies_.empty()) return {};
        std::string reply = replies_.front();
        replies_.pop_front();
        return reply;
    }
    void tell(std::string_view) override {}
    bool confirm(std::string_view, std::string_view) override { return true; }

private:
    std::deque<std::string> replies_;
};

class Unread : public Pane {
public:
    void clear() override {}
    void append(std::string_view) override {}
};

struct Drawing : PictureSink {
    std::vector<IterateMark> marks;
    std::vector<double> x, first, second;
    QString firstHeading, secondHeading;
    void mark(const IterateMark& step) override { marks.push_back(step); }
    void columns(std::span<const double> nodes, std::string_view firstName, std::span<const double> firstValues,
                 std::string_view secondName, std::span<const double> secondValues) override {
        x.assign(nodes.begin(), nodes.end());
        first.assign(firstValues.begin(), firstValues.end());
        second.assign(secondValues.begin(), secondValues.end());
        firstHeading = QString::fromUtf8(firstName.data(), static_cast<qsizetype>(firstName.size()));
        secondHeading = QString::fromUtf8(secondName.data(), static_cast<qsizetype>(secondName.size()));
    }
};

Drawing Run(std::string_view command, std::string editor, std::vector<std::string> replies,
            std::map<std::string, std::string> fields = {}) {
    Replies user(std::move(replies));
    Unread pane;
    Drawing drawing;
    CommandContext context{std::move(editor), pane, user, 6, std::move(fields), {}, &drawing};
    FindCommand(command)->run(context);
    return drawing;
}

// f as the commands evaluate it.
PicturePane::Function Typed(std::string text) {
    PrepareExpression(text);
    return [compiled = CompiledExpression::ForX(text)](double x) -> std::optional<double> {
        int passes = 0;
        const double value = compiled.InsertValue(x, passes);
        if (!compiled.CanBeEvaluated()) return std::nullopt;
        return value;
    };
}

std::vector<IterateMark> Spanning(double lo, double hi) { return {{0, lo}, {1, hi}}; }

QList<QLineSeries*> SeriesPieces(PicturePane& pane, const QString& curve) {
    QList<QLineSeries*> pieces;
    for (QAbstractSeries* series : pane.chart()->series()) {
        auto* line = qobject_cast<QLineSeries*>(series);
        if (line != nullptr && line->objectName() == curve && line->count() > 0) pieces << line;
    }
    return pieces;
}

QStringList Labels(PicturePane& pane, QList<QRectF>* rects = nullptr) {
    QStringList texts;
    for (QGraphicsItem* item : pane.chart()->scene()->items()) {
        auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item);
        static const QRegularExpression kName("^(x\\d+|a|b)$");
        if (text == nullptr || !text->isVisible() || !kName.match(text->text()).hasMatch()) continue;
        texts << text->text();
        if (rects != nullptr) *rects << text->sceneBoundingRect();
    }
    return texts;
}

}  // namespace

class PicturePaneTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PicturePane> pane_;

private slots:
    void initTestCase() { PrepareApplication(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void init() {
        pane_ = std::make_unique<PicturePane>();
        pane_->resize(800, 480);
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
    }

    void cleanup() { pane_.reset(); }

    void aFewHugeValuesDoNotFlattenTheRest_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPointF>("shown");   // this range of values is in view
        QTest::addColumn<QPointF>("within");  // and the view lies inside this one
        QTest::newRow("1/x") << "1/x" << QPointF(-4, 4) << QPointF(-50, 50);
        QTest::newRow("tan(x)") << "tan(x)" << QPointF(-4, 4) << QPointF(-50, 50);
        QTest::newRow("exp(x), nothing clipped") << "exp(x)" << QPointF(0, std::exp(5.0)) << QPointF(-20, 200);
        QTest::newRow("sin(x)") << "sin(x)" << QPointF(-1, 1) << QPointF(-1.5, 1.5);
    }
    void aFewHugeValuesDoNotFlattenTheRest() {
        QFETCH(QString, text);
        QFETCH(QPointF, shown);
        QFETCH(QPointF, within);
        pane_->showFunction(Typed(text.toStdString()), {});
        const PictureBounds view = pane_->bounds();
        const QString range = QString("%1 .. %2").arg(view.bottom).arg(view.top);
        QVERIFY2(view.bottom <= shown.x() && view.top >= shown.y(), qPrintable(range));
        QVERIFY2(view.bottom >= within.x() && view.top <= within.y(), qPrintable(range));
    }

    void stepLinesRunFromTheCurveToTheNextIterate_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QString>("line");
        QTest::newRow("Newton from 3") << "CalculateNewton" << QStringList{"3*x^2-2", "3", "1E-10"} << "tangent";
        QTest::newRow("secant from 2 and 3") << "CalculateXianJie" << QStringList{"2", "3", "1E-10", "1E-10"} << "secant";
    }
    void stepLinesRunFromTheCurveToTheNextIterate() {
        QFETCH(QString, command);
        QFETCH(QStringList, replies);
        QFETCH(QString, line);
        std::vector<std::string> answers;
        for (const QString& reply : replies) answers.push_back(reply.toStdString());
        const Drawing drawing = Run(command.toStdString(), "x^3-2*x-5", answers);
        pane_->showFunction(Typed("x^3-2*x-5"), drawing.marks);
        const QList<QLineSeries*> lines = SeriesPieces(*pane_, line);
        qsizetype k = 0;
        for (const IterateMark& mark : drawing.marks) {
            if (mark.through.empty()) continue;
            QVERIFY(k < lines.size());
            const QList<QPointF> ends = lines[k++]->points();
            QCOMPARE(ends.size(), 2);
            std::vector<QPointF> onLine{QPointF(mark.x, 0)};
            for (const IterateMark::Point& point : mark.through) onLine.emplace_back(point.x, point.y);
            // Its ends are two of the points, and every point lies on it.
            for (const QPointF& end : ends) QVERIFY(std::find(onLine.begin(), onLine.end(), end) != onLine.end());
            for (const QPointF& point : onLine) {
                const QPointF along = ends[1] - ends[0];
                const QPointF to = point - ends[0];
                QVERIFY(std::abs(along.x() * to.y() - along.y() * to.x()) <= 1e-9 * (1 + QPointF::dotProduct(along, along)));
            }
            if (line == "tangent") QCOMPARE(ends[1], QPointF(mark.x, 0));
        }
        QCOMPARE(k, lines.size());
    }

    void iterateNamesStayReadable_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<bool>("cobweb");
        QTest::addColumn<QStringList>("first");  // the names that always stand
        QTest::newRow("Newton from 3") << "CalculateNewton" << QStringList{"3*x^2-2", "3", "1E-10"} << false
                                       << QStringList{"x0", "x1"};
        QTest::newRow("bisection of [2, 3]: a and b, then the midpoints")
            << "CalculateDichotomy" << QStringList{"2", "3", "1E-8"} << false << QStringList{"a", "b", "x1"};
        QTest::newRow("the cobweb of fixed-point iteration from 2")
            << "CalculateIterative" << QStringList{"(2*x+5)^(1/3)", "2", "1E-12"} << true << QStringList{"x0", "x1"};
    }
    void iterateNamesStayReadable() {
        QFETCH(QString, command);
        QFETCH(QStringList, replies);
        QFETCH(bool, cobweb);
        QFETCH(QStringList, first);
        std::vector<std::string> answers;
        for (const QString& reply : replies) answers.push_back(reply.toStdString());
        const Drawing drawing = Run(command.toStdString(), "x^3-2*x-5", answers);
        if (cobweb) {
            pane_->showCobweb(Typed("(2*x+5)^(1/3)"), drawing.marks);
        } else {
            pane_->showFunction(Typed("x^3-2*x-5"), drawing.marks);
        }
        QList<QRectF> rects;
        const QStringList labels = Labels(*pane_, &rects);
        for (const QString& name : first) QVERIFY2(labels.contains(name), qPrintable(labels.join(' ')));
        QVERIFY(!labels.contains("x0") || command != "CalculateDichotomy");
        QVERIFY(labels.size() < static_cast<qsizetype>(drawing.marks.size()));
        const QRectF plot = pane_->chart()->plotArea();
        for (qsizetype i = 0; i < rects.size(); ++i) {
            QVERIFY(plot.contains(rects[i]));
            for (qsizetype j = i + 1; j < rects.size(); ++j) QVERIFY2(!rects[i].intersects(rects[j]), qPrintable(labels[i] + labels[j]));
        }
    }

    // In a narrow pane a legend that would hide the curves in every corner stands below the plot.
    void aLegendThatWouldHideTheCurvesGoesBelowThePlot() {
        std::vector<DecayCurve> runs;
        for (const char* label : {"Jacobi ρ=0.4330", "Gauss-Seidel ρ=0.1875", "SOR ω=1.2 ρ=0.2000"}) {
            DecayCurve run{label, {}, std::nullopt};
            for (int k = 1; k <= 30; ++k) run.sizes.push_back({double(k), std::pow(0.5 + 0.1 * runs.size(), k)});
            runs.push_back(run);
        }
        for (const int width : {800, 300}) {
            pane_->resize(width, 300);
            pane_->showDecay(runs, "max|x(k)-x(k-1)|");
            for (int settle = 0; settle < 3; ++settle) QCoreApplication::processEvents();
            QGraphicsSimpleTextItem* entry = nullptr;
            for (QGraphicsItem* item : pane_->chart()->scene()->items()) {
                auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item);
                if (text != nullptr && text->text() == "Gauss-Seidel ρ=0.1875") entry = text;
            }
            QVERIFY(entry != nullptr);
            const QRectF plot = pane_->chart()->plotArea();
            const bool below = entry->sceneBoundingRect().top() > plot.bottom();
            QCOMPARE(below, width == 300);
            QVERIFY(pane_->chart()->rect().contains(entry->sceneBoundingRect()));
        }
    }

    void columnsAgainstTheExactSolution_data() {
        QTest::addColumn<int>("divisions");
        QTest::newRow("10 steps: every node") << 10;
        QTest::newRow("32767 steps: thinned to the pixels") << 32767;
    }
    void columnsAgainstTheExactSolution() {
        QFETCH(int, divisions);
        const Drawing table = Run("UsDi_Euler", "", {"1"}, {{"Text1", "y"}, {"Text2", "0"}, {"Text3", "1"}, {"Text4", std::to_string(divisions)}});
        QCOMPARE(table.x.size(), static_cast<std::size_t>(divisions) + 1);
        pane_->showColumns(table.x, table.firstHeading, table.first, table.secondHeading, table.second,
                           [](double x) { return std::exp(x); });
        const QList<QLineSeries*> euler = SeriesPieces(*pane_, "first");
        QCOMPARE(euler.size(), 1);
        const QList<QPointF> points = euler[0]->points();
        if (divisions == 10) {
            QCOMPARE(points.size(), 11);
            QCOMPARE(euler[0]->name(), "欧拉公式Y(n)（末点误差 1.2E-01）");
        } else {
            QVERIFY(points.size() < 4 * (pane_->width() + 2));
            QVERIFY(points.size() > pane_->width() / 2);
            QCOMPARE(euler[0]->name(), QString("欧拉公式Y(n)（末点误差 %1）").arg(std::exp(1.0) - table.first.back(), 0, 'E', 1));
        }
        QCOMPARE(points.front(), QPointF(0, 1));
        QCOMPARE(points.back(), QPointF(1, table.first.back()));
        QVERIFY(SeriesPieces(*pane_, "second")[0]->name().startsWith("Euler预估-校正公式Y(n)（末点误差 "));
        QCOMPARE(SeriesPieces(*pane_, "exact")[0]->name(), "精确解y(x)");
    }

    void theMouseZoomsPansAndGoesBack() {
        pane_->showFunction(Typed("x^3-2*x-5"), Spanning(2, 3));
        const PictureBounds home = pane_->bounds();
        QWidget* surface = pane_->findChild<QChartView*>()->viewport();
        const QPointF centre = pane_->chart()->plotArea().center();
        QWheelEvent wheel(centre, surface->mapToGlobal(centre), {}, {0, 240}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(surface, &wheel);
        const PictureBounds zoomed = pane_->bounds();
        QVERIFY(zoomed.right - zoomed.left < 0.8 * (home.right - home.left));
        QVERIFY(std::abs((zoomed.left + zoomed.right) - (home.left + home.right)) < 1e-3);

        QTest::mousePress(surface, Qt::LeftButton, {}, centre.toPoint());
        QTest::mouseMove(surface, centre.toPoint() + QPoint(100, 0));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, centre.toPoint() + QPoint(100, 0));
        QVERIFY(pane_->bounds().left < zoomed.left);
        QCOMPARE(pane_->bounds().top, zoomed.top);

        QTest::mouseDClick(surface, Qt::LeftButton, {}, centre.toPoint());
        QCOMPARE(pane_->bounds().left, home.left);
        QCOMPARE(pane_->bounds().top, home.top);

        pane_->clear();
        QVERIFY(pane_->isEmpty());
        QVERIFY(pane_->chart()->series().isEmpty());
    }

    void exportWritesThePictureOrSaysItCouldNot_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("written");
        QTest::newRow("PNG") << "牛顿法图形.png" << true;
        QTest::newRow("SVG") << "牛顿法图形.svg" << true;
        QTest::newRow("into a missing folder") << "没有的文件夹/图形.png" << false;
    }
    void exportWritesThePictureOrSaysItCouldNot() {
        QFETCH(QString, name);
        QFETCH(bool, written);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        pane_->showFunction(Typed("x^3-2*x-5"), Run("CalculateNewton", "x^3-2*x-5", {"3*x^2-2", "3", "1E-10"}).marks);
        pane_->setExportFileAsker([&](QWidget* owner) {
            [&] { QCOMPARE(owner, pane_.get()); }();
            return path;
        });
        QSignalSpy exported(pane_.get(), &PicturePane::exported);
        QAction* action = pane_->findChild<QAction*>("exportPicture");
        QVERIFY(pane_->actions().contains(action));
        action->trigger();
        QCOMPARE(exported.size(), 1);
        QCOMPARE(exported[0], (QVariantList{path, written}));
        QCOMPARE(QFileInfo::exists(path), written);
        if (!written) return;
        QVERIFY(QFileInfo(path).size() > 1000);
        if (name.endsWith(".png")) {
            QCOMPARE(QImage(path).size(), pane_->size());
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll().contains("<svg"));
        }
    }
};

QTEST_MAIN(PicturePaneTest)
#include "picture_pane_test.moc"
