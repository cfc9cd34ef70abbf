#include "app/german_locale.h"
#include "app/install_paths.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "app/ui/qt_interaction.h"
#include "app/ui/window_placer.h"
#include "app/ui/zep_application.h"
#include "data/tdm.h"
#include "mainwin/ui/main_window.h"
#include "platform/desktop_associations.h"
#include "platform/desktop_click_sound.h"
#include "platform/office_loader.h"
#include "serial/ui/serial_letter_window.h"
#include "serial/word_version.h"

#include <QIcon>

int main(int argc, char** argv) {
    zep::ZepApplication app(argc, argv);
    zep::ZepApplication::setApplicationName(zep::ApplicationName.toString());
    zep::WindowPlacer::install(app);
    if (!zep::speakGerman())
        qWarning("Qt's German texts (qt6-translations-l10n) are missing; its dialogs speak English.");
    // Under a bare window manager Qt knows no icon theme; file and command icons then come from a common one.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
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
    // A fresh installation on a machine with the office suite merges serial letters through it.
    if (const zep::Registry registry = program.registry();
        !zep::registerOfficeAsWordProcessor(registry, zep::findOfficeProgram()))
        qWarning("%s", qPrintable(registry.lastError()));

    int exitCode = 0;
    {
        // The main window first, then the data module with its query module; the window opens a
        // client once it is shown.
        zep::MainWindow mainWindow;
        zep::DesktopAssociations associations;
        zep::TDM dm(program.paths, interaction, associations);
        if (dm.DMCreate()) {
            mainWindow.setDataModule(&dm);
            mainWindow.serialLetterWindow().setClickSound(std::make_unique<zep::DesktopClickSound>());
            zep::OfficeOptions office = zep::OfficeOptions::defaults();
            if (const QString server = zep::registeredWordServer(program.registry()); !server.isEmpty())
                office.sofficePath = server;
            mainWindow.serialLetterWindow().setAutomation(std::make_unique<zep::OfficeAutomationLoader>(
                office, zep::OfficeAutomationLoader::libraryBesideProgram()));
            mainWindow.show();
            exitCode = app.exec();
        }
        mainWindow.setDataModule(nullptr);
    }

    zep::Program::setInstance(nullptr);
    zep::Interaction::setInstance(nullptr);
    return exitCode;
}
