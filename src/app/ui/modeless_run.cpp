#include "app/ui/modeless_run.h"

#include <QEvent>
#include <QTimer>

namespace zep {

FrontWindowKeeper::FrontWindowKeeper(QWidget& blocked, QWidget& front) : blocked_(blocked), front_(front) {
    blocked_.installEventFilter(this);
}

bool FrontWindowKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &blocked_ && event->type() == QEvent::WindowActivate && front_.isVisible()) {
        // After the window manager has finished raising the main window.
        QTimer::singleShot(0, &front_, [front = &front_] {
            front->raise();
            front->activateWindow();
        });
    }
    return false;
}

} // namespace zep
