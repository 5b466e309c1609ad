#pragma once

// The two workspaces that share one frame: LinearFrm, where the person types an augmented matrix
// and solves it, and Ultra, where they type f(x) and find a root. An editor pane Text1, a result
// pane Text2 beside it (LinearFrm) or below it (Ultra), menus of methods, a toolbar and a status
// bar. The file commands live in workspace_documents.cpp, the display and edit commands in
// workspace_display.cpp, the picture beside the result pane in workspace_picture.cpp.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QFont>
#include <QMainWindow>
#include <QString>

#include "command/interaction.h"
#include "plot/convergence.h"
#include "examples/examples.h"
#include "ui/command_runner.h"
#include "ui/paper_job.h"

class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QSplitter;
class QToolBar;

namespace koravin {

class Dialogs;
class PicturePane;

enum class WorkspaceKind { Linear, Nonlinear };

class WorkspaceWindow : public QMainWindow {
    Q_OBJECT
public:
    WorkspaceWindow(WorkspaceKind kind, Dialogs& dialogs, QWidget* parent = nullptr);
    ~WorkspaceWindow() override;

    WorkspaceKind kind() const { return kind_; }
    QPlainTextEdit* editorPane() const { return editor_; }
    QPlainTextEdit* resultPane() const { return result_; }
    // The picture beside the result pane.
    PicturePane* picturePane() const { return picture_; }
    int decimalDigits() const { return decimalDigits_; }
    QString statusText() const;
    bool commandRunning() const { return runner_->running(); }
    bool paperRunning() const { return paper_->running(); }

    // A method entry: runs the command on the window's editor text.
    void runCommand(const CommandInfo& command);
    void stopCommand();

    // The file commands.
    void newDocument();
    void openDocument();
    void saveResult();
    void saveResultAs();

    // 文件 → 示例: puts the example into the editor (asking first when that would lose typed
    // text) and says in the status bar what to choose and answer.
    void chooseExample(const Example& example);

    // 打印… and 导出PDF…: the result pane, and the picture when it is shown, on paper.
    void printReport();
    void exportPdf();

    // The display commands.
    void chooseFont();
    void chooseBackgroundColor();
    void askDecimalDigits();
    void restoreDefaultDisplay();
    // Shows or hides the picture: in Ultra f with the last run's steps (the cobweb after the
    // fixed-point family) or the step sizes of the runs; in LinearFrm the sweep sizes of the
    // iterative runs on the editor's system.
    void showPicture(bool shown);
    // Ultra: the step sizes of the runs on the editor's f (true) or f with the last run (false).
    void showConvergenceView(bool shown);

    // The edit commands; each acts on the editor pane, whichever pane has the focus.
    void copySelection();
    void cutSelection();
    void pasteClipboard();
    void selectAllText();
    void deleteForward();

    // A toolbar button, told apart by its key; an unknown key does nothing.
    void toolbarButton(const QString& key);

signals:
    void helpRequested(QWidget* owner);
    void aboutRequested();
    void commandEnded(koravin::CommandEnd end);
    void paperEnded(koravin::PaperEnd end);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanes();
    void buildMenus();
    void buildToolbar();
    QAction* addEntry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {});
    void addMethodEntries(QMenu* methods, Workspace workspace);
    void addSeparator(QMenu* menu, const char* name);
    void enableMethodsForEditor();
    void enableSaveForResult();
    void enablePaperForResult();
    PaperReport paperReport() const;
    QString reportInput_;  // the first line of the input the pane's report was computed from
    void setBusy(bool busy, const QString& busyStatus);
    void setStatus(const QString& text);
    // What the status bar says of the pane with the focus.
    QString focusStatus() const;
    void showPaneStyle();
    void loadDocumentText(const QByteArray& bytes);
    bool writeResult(const QString& fileName);
    void fileFailed(const char* message);
    void buildPicture(QWidget* resultColumn, QSplitter* splitter);
    void addPictureEntries(QMenu* display);
    void keepRunForPicture();
    void forgetRunsForPicture();
    void drawPicture();
    bool editorHoldsOnlyKnownText() const;

    const WorkspaceKind kind_;
    Dialogs& dialogs_;
    QPlainTextEdit* editor_ = nullptr;
    QPlainTextEdit* result_ = nullptr;
    QProgressBar* progress_ = nullptr;
    PicturePane* picture_ = nullptr;
    QAction* pictureEntry_ = nullptr;
    QAction* convergenceEntry_ = nullptr;   // Ultra: 收敛图, in the display menu and the picture's menu
    QAction* functionViewEntry_ = nullptr;  // Ultra: 函数图, in the picture's menu
    QAction* exportEntry_ = nullptr;
    std::string runFunction_;      // the editor text the running or last command was given
    std::string_view runCaption_;  // and that command's caption
    // Ultra's last run with steps: f as it was given, φ for the fixed-point family, the steps.
    struct StepsRun {
        std::string function;
        std::optional<std::string> phi;
        std::vector<IterateMark> marks;
    };
    std::optional<StepsRun> lastRun_;
    // The step sizes of the runs on one editor text (and in LinearFrm one order), kept together
    // until that text changes.
    std::vector<DecayCurve> keptRuns_;
    std::string keptRunsInput_;
    QLabel* statusPanel_ = nullptr;
    QList<QAction*> methodEntries_;
    QList<QAction*> busyDisabled_;
    QAction* saveEntry_ = nullptr;
    QAction* saveAsEntry_ = nullptr;
    QAction* printEntry_ = nullptr;
    QAction* exportPdfEntry_ = nullptr;
    QAction* stopButton_ = nullptr;
    std::unique_ptr<CommandRunner> runner_;
    std::unique_ptr<PaperJob> paper_;
    QString statusBeforeCommand_;
    QString exampleHint_;  // what the last example chosen said to choose and answer

    int decimalDigits_ = 6;
    QFont paneFont_;
    QColor textColor_;
    QColor backgroundColor_;

    std::vector<Example> examples_;
    QString openedText_;  // the editor text as the last opened file gave it

    QString savedName_;       // where Save writes without asking
    QString openDialogName_;  // the open dialog's remembered name (save as uses it too)
    QString saveDialogName_;  // the save dialog's remembered name
};

}  // namespace koravin
