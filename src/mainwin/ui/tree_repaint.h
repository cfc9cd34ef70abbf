#pragma once

#include <QWidget>

namespace zep {

// Suspends the repainting of a tree for a scope and resumes it on every path out of it.
class RepaintSuspended {
public:
    explicit RepaintSuspended(QWidget& widget) : widget_(widget), wasEnabled_(widget.updatesEnabled()) {
        widget_.setUpdatesEnabled(false);
    }
    ~RepaintSuspended() { widget_.setUpdatesEnabled(wasEnabled_); }
    RepaintSuspended(const RepaintSuspended&) = delete;
    RepaintSuspended& operator=(const RepaintSuspended&) = delete;

private:
    QWidget& widget_;
    bool wasEnabled_;
};

} // namespace zep
