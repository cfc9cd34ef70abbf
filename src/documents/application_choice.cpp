#include "documents/application_choice.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "documents/application_record.h"
#include "documents/associations.h"
#include "documents/desktop_entry.h"

#include <QFileInfo>

namespace zep {

ApplicationChoice choiceOf(const DesktopApplication& application) {
    return {registerProgram(application), application.name, false};
}

ApplicationChoice choiceOfFile(const QString& path) {
    const std::optional<DesktopEntry> entry = isDesktopEntryFile(path) ? readDesktopEntry(path) : std::nullopt;
    const QString title = entry && !entry->name.isEmpty() ? entry->name : QFileInfo(path).fileName();
    return {path, title, false};
}

bool rememberApplication(TDM& dm, const QString& extension, const ApplicationChoice& choice) {
    try {
        storeApplication(dm.TPro, true, {choice.title, choice.program, extension, 0});
    } catch (const EngineError& e) {
        Interaction::instance().error(e.message(), ApplicationName.toString());
        return false;
    }
    dm.LoadApplicationIcons();
    return true;
}

} // namespace zep
