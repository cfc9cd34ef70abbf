#include "mainwin/dde_command.h"

namespace zep {

std::optional<QString> ddeCommandText(const QString& commandTemplate, const QString& fileName) {
    const qsizetype at = commandTemplate.indexOf(u"%1");
    if (at < 0)
        return std::nullopt;
    QString command = commandTemplate;
    command.replace(at, 2, fileName);
    return command;
}

} // namespace zep
