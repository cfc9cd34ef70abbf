#pragma once

#include <QApplication>

namespace zep {

// The application object: an error of the table engine or a file format that escapes a command is
// shown with its message through the interaction seam and ends that command, never the program.
class ZepApplication : public QApplication {
    Q_OBJECT
public:
    ZepApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace zep
