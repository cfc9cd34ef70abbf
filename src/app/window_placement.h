#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringView>

namespace zep {

// Where a window opens when it is first shown. Without a stated place it opens centred over its
// owner; the stated places are those some windows keep whatever their owner. Every place is then
// moved, as little as needed, so that the window lies wholly on the screen.
enum class StatedPlace {
    None,              // centred over the owner (over the screen when there is none)
    Own,               // the position the window was given before it was shown
    ScreenCentre,      // centred on the screen
    ScreenBottomRight, // right edge of the screen, 20 pixels above its bottom
    ScreenRightEdge,   // right edge of the screen, 60 pixels below its top
};

// The name a window carries in its dynamic property: "own", "screenCentre", "screenBottomRight",
// "screenRightEdge"; anything else is None.
StatedPlace statedPlaceFromName(QStringView name);

struct PlacementRequest {
    QRect owner;  // the owner's frame on the screen; empty when the window has none
    QSize frame;  // the window's size including its frame
    QRect screen; // the available area of the screen that shows the owner
    StatedPlace place = StatedPlace::None;
    QPoint own; // the window's own position, for StatedPlace::Own
};

// Top left corner of the window's frame. A window larger than the screen keeps its top left corner
// on the screen, so that its title bar can still be reached.
QPoint placedTopLeft(const PlacementRequest& request);

// The top left corner moved as little as needed to bring a frame of that size onto the screen.
QPoint keptOnScreen(QPoint topLeft, QSize frame, const QRect& screen);

// The top left corner of a frame moved up or left, whichever is the shorter way, so that it no longer
// lies under an always-on-top obstacle; unmoved when it is clear already or neither way fits the screen.
QPoint placedClearOf(const QRect& frame, const QRect& obstacle, const QRect& screen);

} // namespace zep
