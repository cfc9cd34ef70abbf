#pragma once

#include <QMainWindow>

namespace zep {

// The program's one top-level window (TM01). For now a shell: caption, menu bar and central area.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace zep
