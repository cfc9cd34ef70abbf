#pragma once

#include <QString>

class QMimeType;

namespace zep {

// The type's description in German, whatever the user's locale: the program speaks German.
QString germanDescription(const QMimeType& type);

} // namespace zep
