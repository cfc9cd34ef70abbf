#include "platform/office_options.h"

#include "serial/word_version.h"

#include <unistd.h>

namespace zep {

OfficeOptions OfficeOptions::defaults() {
    OfficeOptions options;
    options.sofficePath = findOfficeProgram();
    options.pipeName = QStringLiteral("zep_office_%1").arg(getuid());
    options.headless = !qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    options.dataSourceName = QStringLiteral("ZEP Serienbrief");
    return options;
}

} // namespace zep
