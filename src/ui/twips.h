#pragma once

#include <QWidget>

namespace koravin {

// Window sizes are designed in twips, 1440 to the inch; the screen's logical DPI gives pixels.
inline int Twips(const QWidget* widget, int twips) { return twips * widget->logicalDpiX() / 1440; }

}  // namespace koravin
