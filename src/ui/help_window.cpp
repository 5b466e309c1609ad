#include "ui/help_window.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

namespace koravin {

HelpWindow::HelpWindow(const QString& helpDirectory, QWidget* owner) : QMainWindow(owner, Qt::Window) {
    setObjectName("KoravinHelp");
    setAttribute(Qt::WA_DeleteOnClose);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setAccessibleName(QStringLiteral("帮助内容"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({helpDirectory});
    browser_->setSource(QUrl::fromLocalFile(helpDirectory + QStringLiteral("/index.html")));
    setCentralWidget(browser_);
    setWindowTitle(browser_->documentTitle());
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(browser_->documentTitle()); });

    QToolBar* toolbar = addToolBar(QStringLiteral("帮助工具栏"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* contents = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("目录"));
    QAction* back = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("后退"));
    QAction* forward = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("前进"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QAction::triggered, browser_, &QTextBrowser::home);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    toolbar->addSeparator();
    auto* findLabel = new QLabel(QStringLiteral("查找(&F)："), toolbar);
    findField_ = new QLineEdit(toolbar);
    findField_->setObjectName("FindText");
    findField_->setAccessibleName(QStringLiteral("查找"));
    findField_->setClearButtonEnabled(true);
    findField_->setMaximumWidth(220);
    findLabel->setBuddy(findField_);
    toolbar->addWidget(findLabel);
    toolbar->addWidget(findField_);
    QAction* next = toolbar->addAction(QStringLiteral("下一个"));
    QAction* previous = toolbar->addAction(QStringLiteral("上一个"));
    next->setShortcut(QKeySequence::FindNext);
    previous->setShortcut(QKeySequence::FindPrevious);
    connect(findField_, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(next, &QAction::triggered, this, [this] { findNext(); });
    connect(previous, &QAction::triggered, this, [this] { findNext(true); });
    QAction* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, findField_, [this] { findField_->setFocus(); findField_->selectAll(); });
    addAction(find);

    resize(860, 640);
}

void HelpWindow::findNext(bool backwards) {
    const QString text = findField_->text();
    if (text.isEmpty()) return;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (browser_->find(text, flags)) return;
    // Past the last place: start again from the other end.
    QTextCursor restart = browser_->textCursor();
    restart.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(restart);
    browser_->find(text, flags);
}

void OpenHelpFile(QWidget* owner, const QString& helpDirectory) {
    if (!QDir(helpDirectory).exists(QStringLiteral("index.html"))) return;
    QWidget* window = owner != nullptr ? owner->window() : nullptr;
    HelpWindow* help = window != nullptr ? window->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (help == nullptr) help = new HelpWindow(helpDirectory, window);
    help->show();
    help->raise();
    help->activateWindow();
}

}  // namespace koravin
