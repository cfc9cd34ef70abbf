#pragma once

#include <QStringView>

namespace zep {

inline constexpr QStringView ApplicationName = u"ZEP";
// Main window caption and About text.
inline constexpr QStringView ProgramTitle = u"ZEP 3.5";
// Field that marks a table of the current layout.
inline constexpr QStringView VersionMarker = u"VV34";
inline constexpr QStringView ProgramKey = u"SOFTWARE\\MORVEN\\ZEP\\";
// Unnamed value: the client opened last; every named value: client name -> client directory.
inline constexpr QStringView ClientsKey = u"SOFTWARE\\MORVEN\\ZEP\\Mandanten";

} // namespace zep
