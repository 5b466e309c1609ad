#include "ui/chooser_window.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/window_frame.h"

namespace koravin {

ChooserWindow::ChooserWindow(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
    setObjectName("UsualDiffEquation");
    setWindowTitle(QStringLiteral("常微分方程的数值解法"));
    setAttribute(Qt::WA_DeleteOnClose);
    OfferNoMaximise(this);

    auto* layout = new QVBoxLayout(this);
    const auto addButton = [&](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setMinimumHeight(36);
        layout->addWidget(button);
        return button;
    };
    QPushButton* euler = addButton("Command1", QStringLiteral("欧拉(Euler)方法"));
    QPushButton* rungeKutta = addButton("Command2", QStringLiteral("龙格库塔(Runge-Kutta)方法"));
    QPushButton* adams = addButton("Command3", QStringLiteral("线性多步方法"));
    layout->addSpacing(8);
    auto* bottom = new QHBoxLayout;
    auto* help = new QPushButton(QStringLiteral("帮助"), this);
    help->setObjectName("cmdHelp");
    bottom->addStretch();
    bottom->addWidget(help);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(euler, &QPushButton::clicked, this, [this] { showMethod(OdeMethod::Euler); });
    connect(rungeKutta, &QPushButton::clicked, this, [this] { showMethod(OdeMethod::RungeKutta); });
    connect(adams, &QPushButton::clicked, this, [this] { showMethod(OdeMethod::Adams); });
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(this); });
}

// A chooser deleted without being closed takes its windows along all the same.
ChooserWindow::~ChooserWindow() { closeMethods(); }

QPointer<OdeWindow>& ChooserWindow::windowOf(OdeMethod method) {
    switch (method) {
        case OdeMethod::Euler: return euler_;
        case OdeMethod::RungeKutta: return rungeKutta_;
        case OdeMethod::Adams: break;
    }
    return adams_;
}

OdeWindow* ChooserWindow::showMethod(OdeMethod method) {
    QPointer<OdeWindow>& window = windowOf(method);
    if (window.isNull()) window = new OdeWindow(method, dialogs_);
    window->show();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
    return window;
}

void ChooserWindow::closeMethods() {
    for (QPointer<OdeWindow>* window : {&adams_, &euler_, &rungeKutta_}) {
        // A closed window is deleted a moment later; forgetting it now means a press in between
        // opens a fresh one.
        if (!window->isNull()) (*window)->close();
        window->clear();
    }
}

void ChooserWindow::closeEvent(QCloseEvent* event) {
    closeMethods();
    event->accept();
}

}  // namespace koravin
