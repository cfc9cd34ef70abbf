#pragma once

#include <QPointer>
#include <QThread>
#include <atomic>

class QAbstractScrollArea;

namespace zep {

// Scrolls a window one line every 50 ms while a drag hovers over a scroll strip. Each request runs
// on the user-interface thread while the worker waits for it. The worker deletes itself when it
// ends; after start() the creator keeps at most a QPointer to it.
class TTA_SCROLL : public QThread {
    Q_OBJECT
public:
    enum Direction { Up, Down };

    TTA_SCROLL(QAbstractScrollArea* target, Direction direction, bool startAtOnce);

    // Asks the worker to end; it does so within one step. Safe from any thread.
    void Terminate() { stopRequested_ = true; }
    bool terminateRequested() const { return stopRequested_; }

    static constexpr int initialDelayMs = 500;
    static constexpr int stepMs = 50;

protected:
    void run() override;

private:
    bool waitUnlessStopped(int milliseconds);
    void requestScroll();

    QPointer<QAbstractScrollArea> target_;
    Direction direction_;
    bool startAtOnce_;
    std::atomic_bool stopRequested_ = false;
};

} // namespace zep
