// The picture beside a workspace's result pane and its entries in the display menu. It draws
// what the commands handed the picture sink, never the report: in Ultra f with the last run's
// steps, the cobweb after the fixed-point family, or the step sizes of every run on the
// editor's f; in LinearFrm the sweep sizes of the iterative runs on the editor's system.

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>

#include "plot/function_of_x.h"
#include "registry/registry.h"
#include "ui/dialogs.h"
#include "ui/pane_text.h"
#include "ui/picture_pane.h"
#include "ui/workspace_window.h"

namespace koravin {
namespace {

// In the reports' notation: the axis font draws double bars, sub- and superscripts and ∞ as blots.
const QString kStepSizeTitle = QStringLiteral("|x(k)-x(k-1)|");
const QString kSweepSizeTitle = QStringLiteral("max|x(k)-x(k-1)|");

}  // namespace

void WorkspaceWindow::buildPicture(QWidget* resultColumn, QSplitter* splitter) {
    picture_ = new PicturePane;
    connect(picture_, &PicturePane::exported, this, [this](const QString& fileName, bool succeeded) {
        if (succeeded) setStatus(ShownFileName(fileName));
        else dialogs_.tell(this, "操作有误#");
    });
    auto* resultAndPicture = new QSplitter(Qt::Horizontal);
    resultAndPicture->setObjectName("PictureSplitter");
    resultAndPicture->setChildrenCollapsible(false);
    resultAndPicture->addWidget(resultColumn);
    resultAndPicture->addWidget(picture_);
    splitter->addWidget(resultAndPicture);
}

void WorkspaceWindow::addPictureEntries(QMenu* display) {
    const bool linear = kind_ == WorkspaceKind::Linear;
    pictureEntry_ = addEntry(display, linear ? "FormatPicture" : "ShowPicture", QStringLiteral("图形"));
    pictureEntry_->setCheckable(true);
    connect(pictureEntry_, &QAction::toggled, this, &WorkspaceWindow::showPicture);
    if (!linear) {
        // One entry in both menus; 函数图 beside it in the picture's menu is its other state.
        convergenceEntry_ = addEntry(display, "ShowConvergence", QStringLiteral("收敛图"));
        convergenceEntry_->setCheckable(true);
        functionViewEntry_ = new QAction(QStringLiteral("函数图"), this);
        functionViewEntry_->setObjectName("ShowFunctionView");
        functionViewEntry_->setCheckable(true);
        functionViewEntry_->setChecked(true);
        picture_->addContextAction(functionViewEntry_);
        picture_->addContextAction(convergenceEntry_);
        connect(convergenceEntry_, &QAction::toggled, this, &WorkspaceWindow::showConvergenceView);
        connect(functionViewEntry_, &QAction::triggered, this, [this] { showConvergenceView(false); });
    }
    exportEntry_ = addEntry(display, linear ? "FormatExportPicture" : "ShowExportPicture", QStringLiteral("导出图片…"));
    connect(exportEntry_, &QAction::triggered, picture_->exportAction(), &QAction::trigger);
    // Hidden at first, with the entries that act on it disabled.
    showPicture(false);
}

void WorkspaceWindow::showPicture(bool shown) {
    // Called from outside, the entry's toggling calls back with the new state.
    if (pictureEntry_->isChecked() != shown) return pictureEntry_->setChecked(shown);
    if (shown) drawPicture();
    picture_->setVisible(shown);
    for (QAction* entry : {convergenceEntry_, exportEntry_}) {
        if (entry != nullptr) entry->setEnabled(shown);
    }
}

void WorkspaceWindow::showConvergenceView(bool shown) {
    if (convergenceEntry_ == nullptr) return;
    if (convergenceEntry_->isChecked() != shown) return convergenceEntry_->setChecked(shown);
    functionViewEntry_->setChecked(!shown);
    drawPicture();
}

// A stopped run, or one that ended before its first step, leaves the picture as it was.
void WorkspaceWindow::keepRunForPicture() {
    const CollectedPicture& run = runner_->picture();
    DecayCurve curve;
    std::string input = runFunction_;
    if (run.sweepRun) {
        curve = {SweepLabel(run.sweepRun->method, run.sweepRun->relaxation, run.sweepRun->radius),
                 SweepSizes(run.sweepRun->changes), run.sweepRun->radius};
        // The same text read with another order is another system.
        input += '\n' + std::to_string(run.sweepRun->order);
    } else if (!run.marks.empty()) {
        lastRun_ = StepsRun{runFunction_, run.phi, run.marks};
        curve = {std::string(runCaption_), StepSizes(run.marks), std::nullopt};
    } else {
        return;
    }
    if (input != keptRunsInput_) keptRuns_.clear();
    keptRunsInput_ = std::move(input);
    KeepCurve(keptRuns_, std::move(curve));
    drawPicture();
}

void WorkspaceWindow::forgetRunsForPicture() {
    if (keptRuns_.empty()) return;
    keptRuns_.clear();
    keptRunsInput_.clear();
    if (kind_ == WorkspaceKind::Linear || convergenceEntry_->isChecked()) drawPicture();
}

void WorkspaceWindow::drawPicture() {
    const bool convergence = kind_ == WorkspaceKind::Linear || convergenceEntry_->isChecked();
    if (convergence) {
        if (keptRuns_.empty()) return picture_->clear();
        return picture_->showDecay(keptRuns_, kind_ == WorkspaceKind::Linear ? kSweepSizeTitle : kStepSizeTitle);
    }
    // Before any run the picture is f as typed, over [-5, 5].
    if (!lastRun_) return picture_->showFunction(FunctionOfX(PaneText(*editor_)), {});
    if (lastRun_->phi) return picture_->showCobweb(FunctionOfX(*lastRun_->phi), lastRun_->marks);
    picture_->showFunction(FunctionOfX(lastRun_->function), lastRun_->marks);
}

}  // namespace koravin
