#pragma once

#include "app/registry.h"

#include <QString>
#include <QStringView>

namespace zep {

// The installed word processor's document class names its version in its last character.
inline constexpr QStringView WordCurVerKey = u"Word.Document\\CurVer";
// Where the program file of the automation server is registered.
inline constexpr QStringView WordServerKey = u"Word.Application\\LocalServer32";

// The last character as a decimal digit; 0 for an empty value or a character that is not a digit.
int wordVersionFromCurVer(QStringView value);
int readWordVersion(const Registry& registry);

// Below 6 there is no automation; 6 and 7 speak the old basic commands; 8 to 100 the application object.
enum class WordPath { None, WordBasic, WordApplication };
WordPath wordPathFor(int version);

// The office suite's program file, found on PATH, in Debian's place or under /opt; "" when none is installed.
QString findOfficeProgram();

// Registers the office suite as the word processor of version 8 when nothing is registered yet, so that
// a fresh installation takes the application path. A registration that exists is left alone. False
// when the registry file could not be written.
bool registerOfficeAsWordProcessor(const Registry& registry, const QString& officeProgram);
// The registered program file of the automation server; "" when none is registered.
QString registeredWordServer(const Registry& registry);

} // namespace zep
