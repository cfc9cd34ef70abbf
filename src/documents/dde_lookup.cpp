#include "documents/dde_lookup.h"

#include "documents/command_line.h"

#include <QFileInfo>

namespace zep {

namespace {

// Association values may be written in quotes as a whole: one leading and one trailing quote go.
QString unquoted(QString value) {
    if (value.size() <= 1)
        return value;
    if (value.startsWith(u'"'))
        value.remove(0, 1);
    if (value.endsWith(u'"'))
        value.chop(1);
    return value;
}

} // namespace

std::optional<DdeCommand> FindDdeCommand(const Associations& associations, const QString& programPath,
                                         const QString& documentPath, DocumentVerb verb) {
    DdeCommand found{programPath.isEmpty() ? QString() : QFileInfo(programPath).completeBaseName(), QString(),
                     QString()};
    const QString suffix = QFileInfo(documentPath).suffix();
    const QString typeName = suffix.isEmpty() ? QString() : associations.fileType(suffix).name;
    const VerbCommand registered = typeName.isEmpty() ? VerbCommand{} : associations.verbCommand(typeName, verb);
    // The register names an application by its desktop entry or by the program file it runs.
    const bool sameEntry = !registered.entryFile.isEmpty() && registered.entryFile == programPath;
    if (!sameEntry && CutAfterProgramFile(registered.command) != programPath)
        return std::nullopt;
    found.command = unquoted(registered.ddeExec);
    if (found.command.isEmpty())
        return std::nullopt;
    if (const QString application = unquoted(registered.ddeApplication); !application.isEmpty())
        found.service = application;
    if (const QString topic = unquoted(registered.ddeTopic); !topic.isEmpty())
        found.topic = topic;
    return found;
}

} // namespace zep
