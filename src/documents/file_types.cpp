#include "documents/file_types.h"

#include "data/services.h"
#include "documents/associations.h"
#include "documents/command_line.h"

namespace zep {

namespace {
constexpr qsizetype kLongestExtension = 3; // four characters with the dot
}

FileTypeInfo LookupFileType(const Associations& associations, const QString& extension) {
    const FileType type = associations.fileType(extension);
    if (type.name.isEmpty())
        return {};
    const VerbCommand open = associations.verbCommand(type.name, DocumentVerb::Open);
    if (!open.entryFile.isEmpty())
        return {type.description, open.entryFile};
    const QString program = CutAfterProgramFile(open.command);
    return {type.description, program.isEmpty() ? QString() : GETSYSTEMROOT(program)};
}

QStringList ListRegisteredExtensions(const Associations& associations) {
    QStringList extensions;
    for (const QString& extension : associations.registeredExtensions()) {
        if (!extension.isEmpty() && extension.size() <= kLongestExtension)
            extensions.append(extension);
    }
    extensions.sort();
    extensions.removeDuplicates();
    return extensions;
}

} // namespace zep
