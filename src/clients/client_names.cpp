#include "clients/client_names.h"

#include <QDir>

#include <algorithm>

namespace zep {

namespace {

bool hasControlCharacter(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace

QString clientDirectory(const QString& parentDirectory, const QString& clientName) {
    return parentDirectory + u'/' + clientName;
}

bool isValidClientName(const QString& clientName) {
    if (clientName.isEmpty() || clientName.trimmed() != clientName || hasControlCharacter(clientName))
        return false;
    if (clientName == u"." || clientName == u".." || clientName.startsWith(u';'))
        return false;
    return !std::any_of(clientName.cbegin(), clientName.cend(),
                        [](QChar c) { return c == u'=' || c == u'@' || c == u'[' || c == u']' || c == u'/'; });
}

bool isValidParentDirectory(const QString& parentDirectory) {
    return QDir::isAbsolutePath(parentDirectory) && !hasControlCharacter(parentDirectory);
}

ClientField refusedClientField(const QString& parentDirectory, const QString& clientName) {
    if (!isValidClientName(clientName))
        return ClientField::Name;
    if (!isValidParentDirectory(parentDirectory))
        return ClientField::Directory;
    return ClientField::None;
}

} // namespace zep
