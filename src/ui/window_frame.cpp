#include "ui/window_frame.h"

#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace koravin {

void OfferNoMaximise(QWidget* window) {
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

void PlaceAtScreenCentre(QWidget* window) {
    if (QLayout* layout = window->layout()) layout->activate();
    window->adjustSize();
    window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(),
                                            window->screen()->availableGeometry()));
}

}  // namespace koravin
