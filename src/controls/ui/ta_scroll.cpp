#include "controls/ui/ta_scroll.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScrollBar>

namespace zep {

namespace {
// Short sleeps so that a stop request is noticed well within one step.
constexpr int sleepSliceMs = 10;
} // namespace

TTA_SCROLL::TTA_SCROLL(QAbstractScrollArea* target, Direction direction, bool startAtOnce)
    : target_(target), direction_(direction), startAtOnce_(startAtOnce) {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TTA_SCROLL::run() {
    if (!startAtOnce_ && !waitUnlessStopped(initialDelayMs))
        return;
    while (!stopRequested_) {
        requestScroll();
        if (!waitUnlessStopped(stepMs))
            return;
    }
}

bool TTA_SCROLL::waitUnlessStopped(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!stopRequested_ && clock.elapsed() < milliseconds)
        QThread::msleep(sleepSliceMs);
    return !stopRequested_;
}

void TTA_SCROLL::requestScroll() {
    // The application object lives on the user-interface thread; the target is checked there,
    // where it could be deleted.
    const QPointer<QAbstractScrollArea> target = target_;
    const auto action = direction_ == Up ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [target, action] {
            if (target)
                target->verticalScrollBar()->triggerAction(action);
        },
        Qt::BlockingQueuedConnection);
}

} // namespace zep
