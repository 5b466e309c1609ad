#pragma once

// The about box FrmAbout: the program's picture and four links to its own pages.

#include <QString>
#include <QWidget>

namespace koravin {

// Opens the address with the desktop's browser and returns at once; a blank address opens the
// program's help contents instead.
void OpenWebAddress(const QString& address);

class AboutBox : public QWidget {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace koravin
