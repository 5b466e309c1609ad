#pragma once

// The exit splash FrmExit: shown when the start window closes, it plays the exit tune and scrolls
// the credits upward in an endless loop until the person clicks it or closes it, which ends the
// program.

#include <memory>

#include <QWidget>

#include "sound/tune.h"

class QLabel;
class QTimer;

namespace koravin {

inline constexpr std::string_view kTuneAlias = "tune1";

class ExitSplash : public QWidget {
    Q_OBJECT
public:
    ExitSplash(std::unique_ptr<CommandStringService> tune, const QString& tuneFile);

    // How far the credits move each tick: the inner height / 250, halves to even, so they cross
    // the window in about 250 ticks.
    static int ScrollStep(int innerHeight);

    QLabel* credits() const { return credits_; }
    // One tick of the scroll timer.
    void scroll();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<CommandStringService> tune_;
    QLabel* credits_;
    QTimer* timer_;
    int step_ = 0;
};

}  // namespace koravin
