#include "ui/start_window.h"

#include <algorithm>
#include <array>

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/about_box.h"
#include "ui/chooser_window.h"
#include "ui/exit_splash.h"
#include "ui/help_window.h"
#include "ui/installation.h"
#include "ui/window_frame.h"

namespace koravin {
namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

void BringToFront(QWidget* window) {
    window->show();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
}

}  // namespace

QColor TextModeColor(int index) {
    static constexpr std::array<QRgb, 16> palette = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    return QColor(palette[static_cast<std::size_t>(index)]);
}

StartWindow::StartWindow(Dialogs& dialogs, TuneServiceFactory makeTuneService, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), makeTuneService_(std::move(makeTuneService)) {
    setObjectName("Koravin");
    setWindowTitle(QStringLiteral("Koravin"));
    setAttribute(Qt::WA_DeleteOnClose);
    OfferNoMaximise(this);

    auto* title = new QLabel(QStringLiteral("Koravin"), this);
    title->setObjectName("Label1");
    QFont brush(QStringLiteral("Z003"), 40);
    brush.setStyleHint(QFont::Cursive);
    title->setFont(brush);
    title->setAlignment(Qt::AlignCenter);

    credit_ = new QLabel(QStringLiteral("数值分析教学软件——写给学习数值方法的每一位同学"), this);
    credit_->setObjectName("Label2");
    credit_->setAlignment(Qt::AlignCenter);
    // Room for the line upright and slanted alike, so the window keeps its size as it switches.
    QFont slanted = credit_->font();
    slanted.setItalic(true);
    credit_->setMinimumWidth(std::max(credit_->fontMetrics().horizontalAdvance(credit_->text()),
                                      QFontMetrics(slanted).horizontalAdvance(credit_->text())) + 8);
    clock_ = new QLabel(this);
    clock_->setObjectName("Label3");
    clock_->setAccessibleName(QStringLiteral("时间"));
    clock_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    QPushButton* about = Button(this, "cmdAbout", QStringLiteral("关于"));
    QPushButton* chooser = Button(this, "Command6", QStringLiteral("常微分方程的数值解法"));
    QPushButton* linear = Button(this, "Command1", QStringLiteral("线性方程组(多元一次方程组)的数值解法"));
    QPushButton* nonlinear = Button(this, "Command2", QStringLiteral("非线性方程的数值解法"));
    QPushButton* help = Button(this, "cmdHelp", QStringLiteral("帮助"));
    connect(linear, &QPushButton::clicked, this, [this] { showWorkspace(WorkspaceKind::Linear); });
    connect(nonlinear, &QPushButton::clicked, this, [this] { showWorkspace(WorkspaceKind::Nonlinear); });
    connect(help, &QPushButton::clicked, this, [this] { OpenHelpFile(this, HelpDirectory()); });
    connect(about, &QPushButton::clicked, this, &StartWindow::showAbout);
    connect(chooser, &QPushButton::clicked, this, &StartWindow::showChooser);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(credit_);
    layout->addSpacing(8);
    for (QPushButton* method : {linear, nonlinear, chooser}) {
        method->setMinimumHeight(36);
        layout->addWidget(method);
    }
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(help);
    bottom->addWidget(about);
    bottom->addStretch();
    bottom->addWidget(clock_);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &StartWindow::tick);
    timer_->start();
    PlaceAtScreenCentre(this);
}

void StartWindow::tick() {
    clock_->setText(QTime::currentTime().toString(Qt::TextDate));
    const int index = static_cast<int>(QRandomGenerator::global()->generateDouble() * 15);
    QPalette palette = credit_->palette();
    palette.setColor(QPalette::WindowText, TextModeColor(index));
    credit_->setPalette(palette);
    QFont font = credit_->font();
    font.setItalic(!font.italic());
    credit_->setFont(font);
}

WorkspaceWindow* StartWindow::showWorkspace(WorkspaceKind kind) {
    QPointer<WorkspaceWindow>& window = kind == WorkspaceKind::Linear ? linear_ : nonlinear_;
    if (window.isNull()) {
        window = new WorkspaceWindow(kind, dialogs_);
        connect(window, &WorkspaceWindow::helpRequested, this, [](QWidget* owner) { OpenHelpFile(owner, HelpDirectory()); });
        connect(window, &WorkspaceWindow::aboutRequested, this, &StartWindow::showAbout);
    }
    BringToFront(window);
    return window;
}

ChooserWindow* StartWindow::showChooser() {
    if (chooser_.isNull()) {
        chooser_ = new ChooserWindow(dialogs_);
        connect(chooser_, &ChooserWindow::helpRequested, this, [](QWidget* owner) { OpenHelpFile(owner, HelpDirectory()); });
    }
    BringToFront(chooser_);
    return chooser_;
}

AboutBox* StartWindow::showAbout() {
    if (about_.isNull()) about_ = new AboutBox;
    BringToFront(about_);
    return about_;
}

// The splash comes first, then every other window goes, each closing as it always does.
void StartWindow::closeEvent(QCloseEvent* event) {
    (new ExitSplash(makeTuneService_(), TuneFile()))->show();
    const QList<QPointer<QWidget>> windows{linear_.data(), nonlinear_.data(), chooser_.data(), about_.data()};
    for (const QPointer<QWidget>& window : windows) {
        if (!window.isNull()) window->close();
    }
    event->accept();
}

}  // namespace koravin
