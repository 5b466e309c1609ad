#pragma once

// The chooser UsualDiffEquation: one button for each differential-equation window, and help.
// It owns the three windows it opens: each exists at most once, and closing the chooser closes
// them.

#include <QPointer>
#include <QWidget>

#include "ui/ode_window.h"

namespace koravin {

class Dialogs;

class ChooserWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChooserWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~ChooserWindow() override;

    // Shows the method's window, creating it the first time; an open one comes to the front as
    // it is, fields and table unchanged.
    OdeWindow* showMethod(OdeMethod method);

signals:
    void helpRequested(QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<OdeWindow>& windowOf(OdeMethod method);
    void closeMethods();

    Dialogs& dialogs_;
    QPointer<OdeWindow> euler_;
    QPointer<OdeWindow> rungeKutta_;
    QPointer<OdeWindow> adams_;
};

}  // namespace koravin
