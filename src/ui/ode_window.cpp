#include "ui/ode_window.h"

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include "numbers/number_conversions.h"
#include "ode/ode_input.h"
#include "plot/function_of_x.h"
#include "ode/ode_table.h"
#include "registry/registry.h"
#include "ui/check_setting.h"
#include "ui/dialogs.h"
#include "ui/example_menu.h"
#include "ui/pane_text.h"
#include "ui/picture_pane.h"
#include "ui/window_frame.h"

namespace koravin {
namespace {

struct MethodTexts {
    const char* name;
    const char* caption;
    const char* computeCaption;
};

MethodTexts TextsOf(OdeMethod method) {
    switch (method) {
        case OdeMethod::Euler:
            return {"UsDi_Euler", "常微分方程的数值解法—Euler方法", "欧拉(Euler)计算"};
        case OdeMethod::RungeKutta:
            return {"UsDi_RungeKutta", "常微分方程的数值解法—RungeKutta", "龙格库塔(Runge-Kutta)方法计算"};
        case OdeMethod::Adams:
            break;
    }
    return {"UsDi_Adams", "常微分方程的数值解法—Adams方法", "线性多步方法(Adams)计算"};
}

// A row is three fields of 24 characters, and room for the scroll bar.
constexpr int kPaneColumns = 80;
constexpr int kPaneLines = 14;
constexpr int kPictureHeight = 260;

// A labelled field; the caller places the field, the label goes in front of it.
QLineEdit* Field(const char* name, const QString& label, QGridLayout* grid, int row, int column) {
    auto* caption = new QLabel(label);
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setAccessibleName(label);
    caption->setBuddy(field);
    grid->addWidget(caption, row, column);
    return field;
}

// The heading line pads each heading to a field of 24 characters, and a Chinese character is drawn
// as wide as two digits: the blanks in front of a heading are drawn narrower by what the heading
// is wider than its characters as digits, so that it stands over its column. The text itself
// stays as it is.
void AlignHeadingsOverColumns(QPlainTextEdit& pane) {
    const QTextBlock line = pane.document()->firstBlock();
    const QString text = line.text();
    const QFontMetricsF metrics(pane.font());
    const qreal digit = metrics.horizontalAdvance(QLatin1Char('0'));
    const auto fieldWidth = static_cast<qsizetype>(kOdeFieldWidth);
    QTextCursor cursor(line);
    for (qsizetype start = 0; start + fieldWidth <= text.size(); start += fieldWidth) {
        const QString field = text.mid(start, fieldWidth);
        const qsizetype blanks = field.size() - QStringView(field).trimmed().size();
        const QString heading = field.mid(blanks);
        const qreal wider = metrics.horizontalAdvance(heading) - digit * static_cast<qreal>(heading.size());
        if (blanks == 0 || wider <= 0) continue;
        QTextCharFormat narrower;
        narrower.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        narrower.setFontLetterSpacing(-wider / static_cast<qreal>(blanks));
        cursor.setPosition(line.position() + static_cast<int>(start));
        cursor.setPosition(line.position() + static_cast<int>(start + blanks), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(narrower);
    }
}

}  // namespace

OdeWindow::OdeWindow(OdeMethod method, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), method_(method), dialogs_(dialogs) {
    const MethodTexts texts = TextsOf(method_);
    setObjectName(texts.name);
    setWindowTitle(QString::fromUtf8(texts.caption));
    setAttribute(Qt::WA_DeleteOnClose);
    OfferNoMaximise(this);
    paper_ = std::make_unique<PaperJob>(this, dialogs_);
    buildControls();
    compute_->setText(QString::fromUtf8(texts.computeCaption));

    runner_ = std::make_unique<CommandRunner>(this, result_, dialogs_);
    connect(runner_.get(), &CommandRunner::started, this, [this] { setBusy(true); });
    connect(runner_.get(), &CommandRunner::ended, this, [this](CommandEnd end, const QString& focusField) {
        setBusy(false);
        statusLine_->clear();
        if (focusField == QLatin1String("Text1")) function_->setFocus();
        // A refused or stopped run leaves the previous picture.
        const CollectedPicture& table = runner_->picture();
        if (end == CommandEnd::Finished && !table.x.empty()) {
            picture_->showColumns(table.x, QString::fromStdString(table.firstHeading), table.first,
                                  QString::fromStdString(table.secondHeading), table.second,
                                  runExact_.empty() ? PicturePane::Function{} : FunctionOfX(runExact_));
        }
        if (runner_->lastRunWrotePane()) {
            reportEquation_ = runEquation_;
            AlignHeadingsOverColumns(*result_);
        }
        emit commandEnded(end);
    });
    connect(compute_, &QPushButton::clicked, this, &OdeWindow::compute);

    stop_ = new QAction(this);
    stop_->setObjectName("Stop");
    stop_->setShortcut(QKeySequence(Qt::Key_Escape));
    stop_->setShortcutContext(Qt::WindowShortcut);
    stop_->setEnabled(false);
    addAction(stop_);
    connect(stop_, &QAction::triggered, this, &OdeWindow::stopCommand);

    connect(print_, &QAction::triggered, this, &OdeWindow::printReport);
    connect(exportPdf_, &QAction::triggered, this, &OdeWindow::exportPdf);
    // The window has no menu bar: the picture's context menu offers paper too.
    picture_->addContextAction(print_);
    picture_->addContextAction(exportPdf_);
    connect(paper_.get(), &PaperJob::started, this, [this] { setBusy(true); });
    connect(paper_.get(), &PaperJob::ended, this, [this](PaperEnd end) {
        setBusy(false);
        if (end == PaperEnd::Written && !paper_->fileName().isEmpty()) statusLine_->setText(ShownFileName(paper_->fileName()));
        emit paperEnded(end);
    });
}

OdeWindow::~OdeWindow() = default;

void OdeWindow::buildControls() {
    auto* grid = new QGridLayout;
    function_ = Field("Text1", QStringLiteral("函数F(x)导数"), grid, 0, 0);
    grid->addWidget(function_, 0, 1, 1, 6);
    lower_ = Field("Text2", QStringLiteral("x下界"), grid, 1, 0);
    grid->addWidget(lower_, 1, 1);
    upper_ = Field("Text3", QStringLiteral("x上界"), grid, 1, 2);
    grid->addWidget(upper_, 1, 3);
    divisions_ = Field("Text4", QStringLiteral("等分"), grid, 1, 4);
    auto* divisionsRow = new QHBoxLayout;
    divisionsRow->setSpacing(0);
    divisionsRow->addWidget(divisions_);
    divisionsRow->addWidget(buildSpinner());
    grid->addLayout(divisionsRow, 1, 5);

    compute_ = new QPushButton;
    compute_->setObjectName("Command1");
    compute_->setAutoDefault(false);
    grid->addWidget(compute_, 1, 6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);

    const int fieldWidth = divisions_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 12;
    for (QLineEdit* field : {lower_, upper_, divisions_}) field->setMinimumWidth(fieldWidth);

    divisions_->setText(QString::fromUtf8(kInitialDivisionCountText.data(),
                                          static_cast<qsizetype>(kInitialDivisionCountText.size())));
    connect(divisions_, &QLineEdit::textChanged, this, &OdeWindow::applyDivisionRule);
    divisions_->installEventFilter(this);
    enableSpinner();

    result_ = new QPlainTextEdit;
    result_->setObjectName("Text5");
    result_->setAccessibleName(QStringLiteral("计算结果区域"));
    result_->setReadOnly(true);
    result_->setUndoRedoEnabled(false);
    result_->setLineWrapMode(QPlainTextEdit::NoWrap);
    result_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    result_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    result_->setFont(QFont(QStringLiteral("宋体"), 9));
    const QFontMetrics pane(result_->font());
    const int chrome = 2 * result_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                       2 * static_cast<int>(std::ceil(result_->document()->documentMargin()));
    result_->setMinimumSize(pane.horizontalAdvance(QString(kPaneColumns, QLatin1Char('0'))) + chrome,
                            pane.lineSpacing() * kPaneLines + chrome);

    exact_ = Field("ExactSolution", QStringLiteral("精确解y(x)"), grid, 2, 0);
    exact_->setPlaceholderText(QStringLiteral("可不填；填写后与两种方法的结果画在一起"));
    grid->addWidget(exact_, 2, 1, 1, 5);
    checks_ = new QCheckBox(QStringLiteral("附加检验"));
    checks_->setObjectName("Checks");
    checks_->setAccessibleName(QStringLiteral("附加检验"));
    checks_->setChecked(ChecksFollowReports());
    connect(checks_, &QCheckBox::toggled, this, &SetChecksFollowReports);
    grid->addWidget(checks_, 2, 6);
    picture_ = new PicturePane;
    picture_->setFixedHeight(kPictureHeight);
    connect(picture_, &PicturePane::exported, this, [this](const QString& fileName, bool succeeded) {
        if (succeeded) statusLine_->setText(ShownFileName(fileName));
        else dialogs_.tell(this, "操作有误#");
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buildExampleRow());
    layout->addWidget(result_);
    layout->addWidget(picture_);
    // Fixed: the window takes the size its texts need and cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* OdeWindow::buildSpinner() {
    auto* spinner = new QWidget;
    spinner->setObjectName("UpDown1");
    spinner->setAccessibleName(QStringLiteral("等分"));
    auto* column = new QVBoxLayout(spinner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const int height = divisions_->sizeHint().height();
    stepUp_ = new QToolButton;
    stepDown_ = new QToolButton;
    stepUp_->setObjectName("UpDown1Up");
    stepDown_->setObjectName("UpDown1Down");
    stepUp_->setAccessibleName(QStringLiteral("增加"));
    stepDown_->setAccessibleName(QStringLiteral("减少"));
    stepUp_->setArrowType(Qt::UpArrow);
    stepDown_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {stepUp_, stepDown_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(height * 3 / 4, height / 2);
        column->addWidget(button);
    }
    connect(stepUp_, &QToolButton::clicked, this, [this] { stepDivisions(1); });
    connect(stepDown_, &QToolButton::clicked, this, [this] { stepDivisions(-1); });
    return spinner;
}

QLayout* OdeWindow::buildExampleRow() {
    auto* row = new QHBoxLayout;
    auto* examples = new QPushButton(QStringLiteral("示例"));
    examples->setObjectName("Examples");
    examples->setAccessibleName(QStringLiteral("示例"));
    examples->setAutoDefault(false);
    auto* menu = new QMenu(examples);
    menu->setObjectName("ExamplesMenu");
    const std::string_view command = TextsOf(method_).name;
    AddExampleEntries(menu, BuiltInExamples([command](const CommandInfo& info) { return info.name == command; }),
                      [this](const Example& example) { chooseExample(example); });
    examples->setMenu(menu);
    row->addWidget(examples);

    print_ = new QAction(QStringLiteral("打印…"), this);
    print_->setObjectName("Print");
    exportPdf_ = new QAction(QStringLiteral("导出PDF…"), this);
    exportPdf_->setObjectName("ExportPdf");
    for (QAction* action : {print_, exportPdf_}) {
        auto* button = new QPushButton(action->text());
        button->setObjectName(action->objectName() + QStringLiteral("Button"));
        button->setAccessibleName(action->text());
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
        row->addWidget(button);
    }

    auto* pagesDone = new QProgressBar;
    pagesDone->setObjectName("PaperProgress");
    pagesDone->setAccessibleName(QStringLiteral("输出进度"));
    ShowPagesDone(*paper_, pagesDone);
    row->addWidget(pagesDone);

    statusLine_ = new QLabel;
    statusLine_->setObjectName("StatusLine");
    statusLine_->setAccessibleName(QStringLiteral("状态"));
    row->addWidget(statusLine_, 1);
    return row;
}

void OdeWindow::chooseExample(const Example& example) {
    const auto field = [&example](const char* name) {
        const auto found = example.fields.find(name);
        return found == example.fields.end() ? QString() : FromReportText(found->second);
    };
    function_->setText(field("Text1"));
    lower_->setText(field("Text2"));
    upper_->setText(field("Text3"));
    divisions_->setText(field("Text4"));
    exact_->setText(FromReportText(example.exactSolution));
    QString hint = QStringLiteral("按 ") + compute_->text();
    if (!example.hint.empty()) hint += QStringLiteral("，") + FromReportText(example.hint);
    statusLine_->setText(hint);
}

QString OdeWindow::statusLine() const { return statusLine_->text(); }

// Text4 holds a count from 1 to 32767 at every moment: a text outside is replaced at once.
void OdeWindow::applyDivisionRule() {
    const QString typed = divisions_->text();
    const QString corrected = QString::fromStdString(DivisionCountText(typed.toStdString()));
    if (corrected != typed) {
        divisions_->setText(corrected);
        // Selected, so that what is typed next replaces the correction instead of joining it.
        divisions_->selectAll();
    }
    enableSpinner();
}

void OdeWindow::stepDivisions(int steps) {
    if (steps == 0) return;
    divisions_->setText(QString::fromStdString(SteppedDivisionCountText(divisions_->text().toStdString(), steps)));
}

void OdeWindow::enableSpinner() {
    const DivisionSpinner spinner = DivisionSpinnerState(divisions_->text().toStdString());
    stepUp_->setEnabled(spinner.up);
    stepDown_->setEnabled(spinner.down);
}

PaperReport OdeWindow::paperReport() const {
    return {windowTitle(), reportEquation_, PaperDate(), result_->toPlainText(), result_->font(), ShownPicture(picture_)};
}

void OdeWindow::printReport() {
    if (!runner_->running() && !result_->toPlainText().trimmed().isEmpty()) paper_->print(paperReport());
}

void OdeWindow::exportPdf() {
    if (!runner_->running() && !result_->toPlainText().trimmed().isEmpty()) paper_->exportPdf(paperReport());
}

void OdeWindow::compute() {
    if (runner_->running() || paper_->running()) return;
    const CommandInfo* command = FindCommand(TextsOf(method_).name);
    if (command == nullptr) return;
    CommandInput input;
    input.fields = {{"Text1", function_->text().toStdString()},
                    {"Text2", lower_->text().toStdString()},
                    {"Text3", upper_->text().toStdString()},
                    {"Text4", divisions_->text().toStdString()}};
    runExact_ = exact_->text().trimmed().toStdString();
    runEquation_ = QStringLiteral("y'=") + function_->text().trimmed();
    input.fields.emplace("Exact", runExact_);
    input.withChecks = checks_->isChecked();
    runner_->start(*command, std::move(input));
}

void OdeWindow::stopCommand() {
    runner_->stop();
    paper_->stop();
}

void OdeWindow::setBusy(bool busy) {
    if (busy) computeHadFocus_ = compute_->hasFocus();
    compute_->setEnabled(!busy);
    print_->setEnabled(!busy);
    exportPdf_->setEnabled(!busy);
    stop_->setEnabled(busy);
    if (!busy && computeHadFocus_) compute_->setFocus();
}

void OdeWindow::changeEvent(QEvent* event) {
    // Another window may have changed the setting while this one was in the background.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        const QSignalBlocker quiet(checks_);
        checks_->setChecked(ChecksFollowReports());
    }
    QWidget::changeEvent(event);
}

bool OdeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == divisions_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepDivisions(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void OdeWindow::closeEvent(QCloseEvent* event) {
    runner_->stopAndWait();
    paper_->stopAndWait();
    event->accept();
}

}  // namespace koravin
