#pragma once

// How the windows of a fixed size stand on the screen.

class QWidget;

namespace koravin {

// The title bar offers minimise and close but no maximise: the window keeps the size its
// contents need.
void OfferNoMaximise(QWidget* window);

// The window, laid out at its size, in the middle of its screen's free area; a window manager
// keeps that place, and so does a display without one.
void PlaceAtScreenCentre(QWidget* window);

}  // namespace koravin
