#pragma once

// The start window Koravin: a fixed menu of the three workspaces, help and about, a clock and a
// credit line that changes colour every second. Every other window is opened from here.

#include <functional>
#include <memory>

#include <QPointer>
#include <QWidget>

#include "sound/tune.h"
#include "ui/workspace_window.h"

class QLabel;
class QTimer;

namespace koravin {

class AboutBox;
class ChooserWindow;
class Dialogs;

// Makes the service the exit splash plays its tune through.
using TuneServiceFactory = std::function<std::unique_ptr<CommandStringService>()>;

class StartWindow : public QWidget {
    Q_OBJECT
public:
    StartWindow(Dialogs& dialogs, TuneServiceFactory makeTuneService, QWidget* parent = nullptr);

    // Shows the workspace, creating it the first time; an open one comes to the front as it is.
    WorkspaceWindow* showWorkspace(WorkspaceKind kind);
    AboutBox* showAbout();
    ChooserWindow* showChooser();

    // One tick of the clock: the time of day, and the credit line recoloured and its slant switched.
    void tick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Dialogs& dialogs_;
    TuneServiceFactory makeTuneService_;
    QLabel* credit_;
    QLabel* clock_;
    QTimer* timer_;
    QPointer<WorkspaceWindow> linear_;
    QPointer<WorkspaceWindow> nonlinear_;
    QPointer<AboutBox> about_;
    QPointer<ChooserWindow> chooser_;
};

// The sixteen colours of the text-mode palette, black to white.
QColor TextModeColor(int index);

}  // namespace koravin
