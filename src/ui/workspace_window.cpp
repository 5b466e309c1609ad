#include "ui/workspace_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "registry/registry.h"
#include "ui/check_setting.h"
#include "ui/dialogs.h"
#include "ui/example_menu.h"
#include "ui/picture_pane.h"
#include "ui/pane_text.h"
#include "ui/twips.h"

namespace koravin {
namespace {

struct ToolbarButton {
    const char* key;
    const char* themeIcon;
    QStyle::StandardPixmap fallbackIcon;
};

constexpr ToolbarButton kToolbarButtons[] = {
    {"新建", "document-new", QStyle::SP_FileIcon},
    {"打开", "document-open", QStyle::SP_DialogOpenButton},
    {"保存", "document-save", QStyle::SP_DialogSaveButton},
    {"另存为", "document-save-as", QStyle::SP_DriveFDIcon},
    {"剪切", "edit-cut", QStyle::SP_CustomBase},
    {"复制", "edit-copy", QStyle::SP_CustomBase},
    {"粘贴", "edit-paste", QStyle::SP_CustomBase},
};

// The first line of a text that is not blank, trimmed.
QString FirstLine(const QString& text) {
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) return line.trimmed();
    }
    return {};
}

const QString kBusyStatus = QStringLiteral("正在计算……");
const QString kPaperStatus = QStringLiteral("正在输出……");

}  // namespace

WorkspaceWindow::WorkspaceWindow(WorkspaceKind kind, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), kind_(kind), dialogs_(dialogs) {
    const bool linear = kind_ == WorkspaceKind::Linear;
    setObjectName(linear ? "LinearFrm" : "Ultra");
    setWindowTitle(linear ? QStringLiteral("线性方程组(多元一次方程组)的数值解法") : QStringLiteral("非线性方程的数值解法"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildPanes();
    runner_ = std::make_unique<CommandRunner>(this, result_, dialogs_);
    paper_ = std::make_unique<PaperJob>(this, dialogs_);
    buildMenus();
    buildToolbar();

    statusPanel_ = new QLabel(QStringLiteral("状态"));
    statusPanel_->setObjectName("StatusBar1Panel1");
    statusBar()->setObjectName("StatusBar1");
    statusBar()->addWidget(statusPanel_, 1);
    auto* pagesDone = new QProgressBar;
    pagesDone->setObjectName("PaperProgress");
    pagesDone->setAccessibleName(QStringLiteral("输出进度"));
    pagesDone->setMaximumWidth(Twips(this, 2500));
    statusBar()->addPermanentWidget(pagesDone);
    ShowPagesDone(*paper_, pagesDone);

    connect(paper_.get(), &PaperJob::started, this, [this] { setBusy(true, kPaperStatus); });
    connect(paper_.get(), &PaperJob::ended, this, [this](PaperEnd end) {
        setBusy(false, kPaperStatus);
        if (end == PaperEnd::Written && !paper_->fileName().isEmpty()) setStatus(ShownFileName(paper_->fileName()));
        emit paperEnded(end);
    });
    connect(runner_.get(), &CommandRunner::started, this, [this] { setBusy(true, kBusyStatus); });
    connect(runner_.get(), &CommandRunner::ended, this, [this](CommandEnd end, const QString& focusField) {
        setBusy(false, kBusyStatus);
        // Once a command has run, the example's hint has served.
        if (!exampleHint_.isEmpty() && statusText() == exampleHint_) setStatus(focusStatus());
        exampleHint_.clear();
        if (focusField == QLatin1String("Text1")) editor_->setFocus();
        if (end == CommandEnd::Finished) keepRunForPicture();
        if (runner_->lastRunWrotePane()) reportInput_ = FirstLine(QString::fromStdString(runFunction_));
        emit commandEnded(end);
    });

    paneFont_ = QFont(QStringLiteral("宋体"), 9);
    textColor_ = QApplication::palette().color(QPalette::Text);
    backgroundColor_ = QApplication::palette().color(QPalette::Base);
    showPaneStyle();

    setMinimumSize(Twips(this, 3500), Twips(this, 3500));
    resize(Twips(this, linear ? 12000 : 10000), Twips(this, linear ? 8000 : 7500));
}

WorkspaceWindow::~WorkspaceWindow() = default;

void WorkspaceWindow::buildPanes() {
    const bool linear = kind_ == WorkspaceKind::Linear;
    editor_ = new QPlainTextEdit;
    editor_->setObjectName("Text1");
    editor_->setAccessibleName(QStringLiteral("编辑区域"));
    result_ = new QPlainTextEdit;
    result_->setObjectName("Text2");
    result_->setAccessibleName(linear ? QStringLiteral("结果区域") : QStringLiteral("计算结果区域"));
    // A matrix row is one line: reports are read with their columns lined up.
    for (QPlainTextEdit* pane : {editor_, result_}) {
        pane->setLineWrapMode(QPlainTextEdit::NoWrap);
        pane->installEventFilter(this);
    }
    result_->setUndoRedoEnabled(false);

    auto* splitter = new QSplitter(linear ? Qt::Horizontal : Qt::Vertical);
    splitter->setObjectName("imgSplitter");
    splitter->setHandleWidth(Twips(this, 100));
    // While dragged, the bar's shadow moves and the panes follow when it is let go.
    splitter->setOpaqueResize(false);
    splitter->setChildrenCollapsible(false);
    if (linear) {
        progress_ = new QProgressBar;
        progress_->setObjectName("ProgressBar1");
        progress_->setAccessibleName(QStringLiteral("打开进度"));
        progress_->setFixedHeight(Twips(this, 350));
        progress_->setTextVisible(false);
        progress_->hide();
        auto* editorColumn = new QWidget;
        auto* column = new QVBoxLayout(editorColumn);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        column->addWidget(editor_);
        column->addWidget(progress_);
        editorColumn->setMinimumWidth(Twips(this, 1500));
        result_->setMinimumWidth(Twips(this, 1500 - 240));
        splitter->addWidget(editorColumn);
        buildPicture(result_, splitter);
        splitter->setStretchFactor(1, 1);
        splitter->setSizes({Twips(this, 4500), Twips(this, 7000)});
        connect(editor_, &QPlainTextEdit::textChanged, this, [this] { setStatus(QStringLiteral("编辑状态")); });
    } else {
        editor_->setMinimumHeight(Twips(this, 700));
        result_->setMinimumHeight(Twips(this, 650));
        splitter->addWidget(editor_);
        buildPicture(result_, splitter);
        splitter->setStretchFactor(1, 1);
        splitter->setSizes({Twips(this, 1200), Twips(this, 5000)});
    }
    connect(editor_, &QPlainTextEdit::textChanged, this, &WorkspaceWindow::forgetRunsForPicture);
    setCentralWidget(splitter);
}

QAction* WorkspaceWindow::addEntry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut) {
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(name);
    entry->setShortcut(shortcut);
    return entry;
}

void WorkspaceWindow::addSeparator(QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); }

void WorkspaceWindow::addMethodEntries(QMenu* methods, Workspace workspace) {
    QMenu* submenu = nullptr;  // the method menu has one: 迭代法的收敛性
    for (const MethodMenuEntry& item : MethodMenu(workspace)) {
        QMenu* menu = methods;
        if (!item.submenu.empty()) {
            if (submenu == nullptr) {
                submenu = methods->addMenu(QString::fromUtf8(item.submenu.data(), item.submenu.size()));
                submenu->setObjectName("IterativeAstringency");
                methodEntries_.append(submenu->menuAction());
            }
            menu = submenu;
        }
        const std::string name(item.name);
        if (item.kind == MethodMenuEntry::Kind::Separator) {
            addSeparator(menu, name.c_str());
            continue;
        }
        QAction* entry = addEntry(menu, name.c_str(), QString::fromUtf8(item.caption.data(), item.caption.size()));
        if (item.kind == MethodMenuEntry::Kind::Command) {
            const CommandInfo* command = FindCommand(item.name);
            connect(entry, &QAction::triggered, this, [this, command] { runCommand(*command); });
        }
        methodEntries_.append(entry);
    }
}

void WorkspaceWindow::buildMenus() {
    const bool linear = kind_ == WorkspaceKind::Linear;
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(linear ? "FileMenu" : "mnuFile");
    QAction* create = addEntry(file, "FileNew", QStringLiteral("新建"), QKeySequence(Qt::CTRL | Qt::Key_N));
    QAction* open = addEntry(file, "FileOpen", QStringLiteral("打开"), QKeySequence(Qt::CTRL | Qt::Key_O));
    saveEntry_ = addEntry(file, "FileSave", QStringLiteral("保存"), QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAsEntry_ = addEntry(file, linear ? "FileSaveAS" : "FileSaveAs", QStringLiteral("另存为"));
    addSeparator(file, "FilePaperSeparator");
    printEntry_ = addEntry(file, "FilePrint", QStringLiteral("打印…"), QKeySequence(Qt::CTRL | Qt::Key_P));
    exportPdfEntry_ = addEntry(file, "FileExportPdf", QStringLiteral("导出PDF…"));
    connect(printEntry_, &QAction::triggered, this, &WorkspaceWindow::printReport);
    connect(exportPdfEntry_, &QAction::triggered, this, &WorkspaceWindow::exportPdf);
    connect(file, &QMenu::aboutToShow, this, &WorkspaceWindow::enablePaperForResult);
    QMenu* examples = file->addMenu(QStringLiteral("示例"));
    examples->setObjectName("FileExamples");
    examples_ = BuiltInExamples([linear](const CommandInfo& command) {
        return command.workspace == (linear ? Workspace::Linear : Workspace::Nonlinear);
    });
    AddExampleEntries(examples, examples_, [this](const Example& example) { chooseExample(example); });
    addSeparator(file, "FileExitSeparator");
    QAction* exit = addEntry(file, "FileExit", QStringLiteral("退出"));
    busyDisabled_ << create << open << saveEntry_ << saveAsEntry_ << printEntry_ << exportPdfEntry_
                  << examples->menuAction();
    connect(create, &QAction::triggered, this, &WorkspaceWindow::newDocument);
    connect(open, &QAction::triggered, this, &WorkspaceWindow::openDocument);
    connect(saveEntry_, &QAction::triggered, this, &WorkspaceWindow::saveResult);
    connect(saveAsEntry_, &QAction::triggered, this, &WorkspaceWindow::saveResultAs);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    if (linear) connect(file, &QMenu::aboutToShow, this, &WorkspaceWindow::enableSaveForResult);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    edit->setObjectName(linear ? "EditMenu" : "mnuEdit");
    QAction* selectAll = addEntry(edit, linear ? "EditSelectAll" : "EditCheckAll",
                                  linear ? QStringLiteral("全选(&A)") : QStringLiteral("全选"),
                                  QKeySequence(Qt::CTRL | Qt::Key_A));
    QAction* undo = addEntry(edit, linear ? "Edit" : "EditRecall", QStringLiteral("撤消"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    if (!linear) edit->insertAction(selectAll, undo);
    QAction* cut = addEntry(edit, "EditCut", QStringLiteral("剪切"), QKeySequence(Qt::CTRL | Qt::Key_X));
    QAction* copy = addEntry(edit, "EditCopy", QStringLiteral("复制"), QKeySequence(Qt::CTRL | Qt::Key_C));
    if (!linear) edit->insertAction(cut, copy);
    QAction* paste = addEntry(edit, "EditPaste", QStringLiteral("粘贴"), QKeySequence(Qt::CTRL | Qt::Key_V));
    QAction* remove = addEntry(edit, "EditDelete", QStringLiteral("删除(&L)"), QKeySequence(Qt::Key_Delete));
    connect(selectAll, &QAction::triggered, this, &WorkspaceWindow::selectAllText);
    connect(cut, &QAction::triggered, this, &WorkspaceWindow::cutSelection);
    connect(copy, &QAction::triggered, this, &WorkspaceWindow::copySelection);
    connect(paste, &QAction::triggered, this, &WorkspaceWindow::pasteClipboard);
    connect(remove, &QAction::triggered, this, &WorkspaceWindow::deleteForward);

    QMenu* display = menuBar()->addMenu(QStringLiteral("显示(&V)"));
    display->setObjectName(linear ? "Format" : "mnuShow");
    QAction* font = addEntry(display, linear ? "FormatStyle" : "ShowStyle", QStringLiteral("字体"));
    QAction* background = addEntry(display, linear ? "FormatBackColor" : "ShowBackcolor", QStringLiteral("背景色"));
    connect(font, &QAction::triggered, this, &WorkspaceWindow::chooseFont);
    connect(background, &QAction::triggered, this, &WorkspaceWindow::chooseBackgroundColor);
    busyDisabled_ << font << background;
    if (linear) {
        QAction* digits = addEntry(display, "FormatDecimalDigits", QStringLiteral("设置小数数位"));
        connect(digits, &QAction::triggered, this, &WorkspaceWindow::askDecimalDigits);
        busyDisabled_ << digits;
    }
    QAction* defaults = addEntry(display, linear ? "FormatDefault" : "ShowDefault", QStringLiteral("默认"));
    connect(defaults, &QAction::triggered, this, &WorkspaceWindow::restoreDefaultDisplay);
    busyDisabled_ << defaults;
    addPictureEntries(display);
    QAction* checks = addEntry(display, linear ? "FormatChecks" : "ShowChecks", QStringLiteral("附加检验"));
    checks->setCheckable(true);
    checks->setChecked(ChecksFollowReports());
    connect(checks, &QAction::toggled, this, &SetChecksFollowReports);
    // Another window may have changed the setting since.
    connect(display, &QMenu::aboutToShow, this, [checks] {
        const QSignalBlocker quiet(checks);
        checks->setChecked(ChecksFollowReports());
    });

    QMenu* methods = menuBar()->addMenu(linear ? QStringLiteral("解线性方程组(&U)") : QStringLiteral("解方程(&C)"));
    methods->setObjectName(linear ? "Uncoil" : "mnuCalculate");
    addMethodEntries(methods, linear ? Workspace::Linear : Workspace::Nonlinear);
    connect(methods, &QMenu::aboutToShow, this, &WorkspaceWindow::enableMethodsForEditor);

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(linear ? "mnuHelp" : "munHelp");
    connect(addEntry(help, "mnuHelpFile", QStringLiteral("帮助文件")), &QAction::triggered, this,
            [this] { emit helpRequested(this); });
    connect(addEntry(help, "mnuAbout", QStringLiteral("关于")), &QAction::triggered, this,
            &WorkspaceWindow::aboutRequested);
}

void WorkspaceWindow::buildToolbar() {
    QToolBar* toolbar = addToolBar(QStringLiteral("工具栏"));
    toolbar->setObjectName("Toolbar1");
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolbarButton& button : kToolbarButtons) {
        const QString key = QString::fromUtf8(button.key);
        // Qt has no standard cut, copy and paste pictures: the program carries its own.
        const QIcon fallback = button.fallbackIcon == QStyle::SP_CustomBase
                                   ? QIcon(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(button.themeIcon)))
                                   : style()->standardIcon(button.fallbackIcon);
        QAction* action = toolbar->addAction(QIcon::fromTheme(QString::fromLatin1(button.themeIcon), fallback), key);
        action->setData(key);
        connect(action, &QAction::triggered, this, [this, key] { toolbarButton(key); });
        if (key == QStringLiteral("新建") || key == QStringLiteral("打开") || key == QStringLiteral("保存") ||
            key == QStringLiteral("另存为")) {
            busyDisabled_ << action;
        }
    }
    toolbar->addSeparator();
    stopButton_ = toolbar->addAction(QIcon::fromTheme("process-stop", style()->standardIcon(QStyle::SP_BrowserStop)),
                                     QStringLiteral("停止"));
    stopButton_->setObjectName("Stop");
    stopButton_->setShortcut(QKeySequence(Qt::Key_Escape));
    stopButton_->setEnabled(false);
    connect(stopButton_, &QAction::triggered, this, &WorkspaceWindow::stopCommand);
}

void WorkspaceWindow::toolbarButton(const QString& key) {
    if (key == QStringLiteral("新建")) newDocument();
    else if (key == QStringLiteral("打开")) openDocument();
    else if (key == QStringLiteral("保存")) saveResult();
    else if (key == QStringLiteral("另存为")) saveResultAs();
    else if (key == QStringLiteral("剪切")) cutSelection();
    else if (key == QStringLiteral("复制")) copySelection();
    else if (key == QStringLiteral("粘贴")) pasteClipboard();
}

void WorkspaceWindow::enableMethodsForEditor() {
    const bool enabled = !runner_->running() && !paper_->running() && !PaneIsBlank(*editor_);
    for (QAction* entry : methodEntries_) entry->setEnabled(enabled);
}

void WorkspaceWindow::enableSaveForResult() {
    const bool enabled = !runner_->running() && !PaneIsBlank(*result_);
    saveEntry_->setEnabled(enabled);
    saveAsEntry_->setEnabled(enabled);
}

void WorkspaceWindow::enablePaperForResult() {
    const bool enabled = !runner_->running() && !paper_->running() && !PaneIsBlank(*result_);
    printEntry_->setEnabled(enabled);
    exportPdfEntry_->setEnabled(enabled);
}

// The header names the input the report was computed from, whatever the editor holds since.
PaperReport WorkspaceWindow::paperReport() const {
    return {windowTitle(), reportInput_, PaperDate(), result_->toPlainText(), result_->font(), ShownPicture(picture_)};
}

void WorkspaceWindow::printReport() {
    if (!runner_->running() && !PaneIsBlank(*result_)) paper_->print(paperReport());
}

void WorkspaceWindow::exportPdf() {
    if (!runner_->running() && !PaneIsBlank(*result_)) paper_->exportPdf(paperReport());
}

void WorkspaceWindow::runCommand(const CommandInfo& command) {
    if (runner_->running() || paper_->running()) return;
    runFunction_ = PaneText(*editor_);
    runCaption_ = command.caption;
    runner_->start(command, {runFunction_, decimalDigits_, {}, ChecksFollowReports()});
}

void WorkspaceWindow::stopCommand() {
    runner_->stop();
    paper_->stop();
}

void WorkspaceWindow::setBusy(bool busy, const QString& busyStatus) {
    for (QAction* entry : busyDisabled_) entry->setEnabled(!busy);
    for (QAction* entry : methodEntries_) entry->setEnabled(!busy);
    stopButton_->setEnabled(busy);
    if (busy) {
        statusBeforeCommand_ = statusPanel_->text();
        statusPanel_->setText(busyStatus);
    } else if (statusPanel_->text() == busyStatus) {
        statusPanel_->setText(statusBeforeCommand_);
    }
}

QString WorkspaceWindow::statusText() const { return statusPanel_->text(); }

void WorkspaceWindow::setStatus(const QString& text) {
    if ((runner_ && runner_->running()) || (paper_ && paper_->running())) {
        statusBeforeCommand_ = text;
        return;
    }
    if (statusPanel_ != nullptr) statusPanel_->setText(text);
}

QString WorkspaceWindow::focusStatus() const {
    const bool linear = kind_ == WorkspaceKind::Linear;
    if (editor_->hasFocus()) return linear ? QStringLiteral("编辑区域") : QStringLiteral("在此输入函数方程式f(x)=?");
    if (result_->hasFocus()) return linear ? QStringLiteral("结果区域") : QStringLiteral("计算结果区域");
    return QStringLiteral("状态");
}

bool WorkspaceWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool linear = kind_ == WorkspaceKind::Linear;
    // The focus that goes with the window to a dialog or a menu and comes back with it has not
    // moved between the panes: the status bar keeps what it says (a file's name after an open).
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) {
            return QMainWindow::eventFilter(watched, event);
        }
    }
    if (event->type() == QEvent::FocusIn && (watched == editor_ || watched == result_)) {
        setStatus(focusStatus());
    } else if (event->type() == QEvent::FocusOut && !linear && (watched == editor_ || watched == result_)) {
        setStatus(QStringLiteral("状态"));
    }
    return QMainWindow::eventFilter(watched, event);
}

void WorkspaceWindow::closeEvent(QCloseEvent* event) {
    runner_->stopAndWait();
    paper_->stopAndWait();
    event->accept();
}

}  // namespace koravin
