#include "ui/exit_splash.h"

#include <cmath>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

#include "ui/window_frame.h"

namespace koravin {
namespace {

const char* const kCredits[] = {
    "Koravin",
    "",
    "数值分析教学软件",
    "",
    "线性方程组的数值解法",
    "非线性方程的数值解法",
    "常微分方程的数值解法",
    "",
    "每一份报告都是教材中方法的完整计算过程",
    "",
    "感谢使用",
    "祝学习顺利！",
};

}  // namespace

int ExitSplash::ScrollStep(int innerHeight) {
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(innerHeight / 250.0));
}

ExitSplash::ExitSplash(std::unique_ptr<CommandStringService> tune, const QString& tuneFile)
    : tune_(std::move(tune)) {
    setObjectName("FrmExit");
    setWindowTitle(QStringLiteral("Koravin"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(520, 360);
    PlaceAtScreenCentre(this);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(0x10, 0x18, 0x30));
    dark.setColor(QPalette::WindowText, QColor(0xF0, 0xE6, 0xC8));
    setPalette(dark);
    setAutoFillBackground(true);

    QStringList lines;
    for (const char* line : kCredits) lines << QString::fromUtf8(line);
    credits_ = new QLabel(lines.join('\n'), this);
    credits_->setObjectName("Label1");
    credits_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font = credits_->font();
    font.setPointSize(14);
    credits_->setFont(font);
    credits_->setAttribute(Qt::WA_TransparentForMouseEvents);
    credits_->setGeometry(0, height(), width(), credits_->sizeHint().height());

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(30);
    connect(timer_, &QTimer::timeout, this, &ExitSplash::scroll);

    PlayTune(*tune_, tuneFile.toStdString(), kTuneAlias);
}

void ExitSplash::showEvent(QShowEvent* event) {
    credits_->move(0, height());
    step_ = ScrollStep(height());
    timer_->start();
    QWidget::showEvent(event);
}

void ExitSplash::scroll() {
    int top = credits_->y() - step_;
    if (top < -credits_->height()) top = height();
    credits_->move(0, top);
}

void ExitSplash::mousePressEvent(QMouseEvent*) {
    StopTune(*tune_, kTuneAlias);
    close();
    QCoreApplication::quit();
}

void ExitSplash::closeEvent(QCloseEvent* event) {
    timer_->stop();
    StopTune(*tune_, kTuneAlias);
    event->accept();
}

}  // namespace koravin
