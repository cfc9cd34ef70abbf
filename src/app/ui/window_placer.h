#pragma once

#include <QObject>

class QApplication;
class QWidget;

namespace zep {

// A window that keeps a place of its own names it in this dynamic property (the names of
// statedPlaceFromName); every other window opens centred over its owner.
inline constexpr char StatedPlaceProperty[] = "zepStatedPlace";

// Places every top-level window on its first show: centred over its owner, or at its stated place,
// and always wholly on the screen that shows the owner. Installed once on the application.
class WindowPlacer : public QObject {
    Q_OBJECT
public:
    explicit WindowPlacer(QObject* parent = nullptr) : QObject(parent) {}
    static void install(QApplication& application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Places a window now (also one shown again with a new size).
void placeWindow(QWidget& window);

} // namespace zep
