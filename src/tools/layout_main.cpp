// Lays out a complete installation in the directory given as the only argument.
#include "tools/installation_layout.h"

#include <QCoreApplication>
#include <QTextStream>
#include <exception>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "Aufruf: zep-layout VERZEICHNIS\n";
        return 2;
    }
    try {
        zep::ensureInstallationLayout(args[1]);
    } catch (const std::exception& e) {
        err << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    return 0;
}
