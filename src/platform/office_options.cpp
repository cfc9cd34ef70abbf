#include "platform/office_options.h"

#include <QStandardPaths>

#include <unistd.h>

namespace zep {

OfficeOptions OfficeOptions::defaults() {
    OfficeOptions options;
    options.sofficePath = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (options.sofficePath.isEmpty())
        options.sofficePath = QStringLiteral("/usr/lib/libreoffice/program/soffice");
    options.pipeName = QStringLiteral("zep_office_%1").arg(getuid());
    options.headless = !qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    options.dataSourceName = QStringLiteral("ZEP Serienbrief");
    return options;
}

} // namespace zep
