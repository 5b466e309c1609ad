#pragma once

// The program's help: HTML pages shown in a window of its own, with contents, back, forward and
// find.

#include <QMainWindow>

class QLineEdit;
class QTextBrowser;

namespace koravin {

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    HelpWindow(const QString& helpDirectory, QWidget* owner);

    QTextBrowser* browser() const { return browser_; }
    // Finds the next (or previous) place that holds the text of the find field.
    void findNext(bool backwards = false);

private:
    QTextBrowser* browser_;
    QLineEdit* findField_;
};

// Shows the help with `owner` as its owner: the window comes back to the front when it is open
// already; without the help folder nothing happens.
void OpenHelpFile(QWidget* owner, const QString& helpDirectory);

}  // namespace koravin
