#include "app/window_placement.h"

#include <algorithm>

namespace zep {

namespace {

int keptInRange(int start, int length, int areaStart, int areaLength) {
    const int last = areaStart + areaLength - length;
    return std::max(areaStart, std::min(start, last));
}

QPoint centredIn(const QRect& area, QSize frame) {
    return {area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2};
}

QPoint wantedTopLeft(const PlacementRequest& request) {
    const QRect& screen = request.screen;
    const int rightAligned = screen.x() + screen.width() - request.frame.width();
    switch (request.place) {
    case StatedPlace::Own:
        return request.own;
    case StatedPlace::ScreenCentre:
        return centredIn(screen, request.frame);
    case StatedPlace::ScreenBottomRight:
        return {rightAligned, screen.y() + screen.height() - request.frame.height() - 20};
    case StatedPlace::ScreenRightEdge:
        return {rightAligned, screen.y() + 60};
    case StatedPlace::None:
        break;
    }
    return centredIn(request.owner.isEmpty() ? screen : request.owner, request.frame);
}

} // namespace

StatedPlace statedPlaceFromName(QStringView name) {
    if (name == u"own")
        return StatedPlace::Own;
    if (name == u"screenCentre")
        return StatedPlace::ScreenCentre;
    if (name == u"screenBottomRight")
        return StatedPlace::ScreenBottomRight;
    if (name == u"screenRightEdge")
        return StatedPlace::ScreenRightEdge;
    return StatedPlace::None;
}

QPoint keptOnScreen(QPoint topLeft, QSize frame, const QRect& screen) {
    return {keptInRange(topLeft.x(), frame.width(), screen.x(), screen.width()),
            keptInRange(topLeft.y(), frame.height(), screen.y(), screen.height())};
}

QPoint placedTopLeft(const PlacementRequest& request) {
    return keptOnScreen(wantedTopLeft(request), request.frame, request.screen);
}

QPoint placedClearOf(const QRect& frame, const QRect& obstacle, const QRect& screen) {
    if (!frame.intersects(obstacle))
        return frame.topLeft();
    const int up = frame.bottom() - obstacle.top() + 1;
    const int left = frame.right() - obstacle.left() + 1;
    const bool upFits = frame.top() - up >= screen.top();
    const bool leftFits = frame.left() - left >= screen.left();
    if (upFits && (!leftFits || up <= left))
        return frame.topLeft() - QPoint(0, up);
    if (leftFits)
        return frame.topLeft() - QPoint(left, 0);
    return frame.topLeft();
}

} // namespace zep
