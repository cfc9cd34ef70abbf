#include "app/install_paths.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "app/ui/qt_interaction.h"
#include "mainwin/ui/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(zep::ApplicationName.toString());
    zep::QtInteraction interaction;
    zep::Interaction::setInstance(&interaction);

    zep::SingleInstance instance;
    if (!zep::claimSingleInstance(instance, interaction))
        return 0;

    zep::Program program = zep::loadProgram(zep::installationDirectory());
    if (const QString failure = zep::prepareInstallation(program.paths); !failure.isEmpty()) {
        interaction.error(failure, zep::ApplicationName.toString());
        return 1;
    }
    zep::Program::setInstance(&program);

    zep::MainWindow mainWindow;
    // The data module (TDM) and the query module (TDM1) are created here, after the main window,
    // followed by the column arrangement window (TT01) and the serial letter window (TS01).
    mainWindow.show();
    const int exitCode = app.exec();

    zep::Program::setInstance(nullptr);
    zep::Interaction::setInstance(nullptr);
    return exitCode;
}
