#pragma once

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <QString>

namespace zep {

// Registers the serial-letter data file (TAB-separated text, Windows-1252, a header line of field
// names) as a flat-file data source under name, stored as an .odb beside the file. An older
// registration of the name is revoked and its connections closed first, so the office reads the
// file anew. Returns the table name (the file's base name). Throws UNO exceptions or AutomationError.
QString registerDataFile(const css::uno::Reference<css::uno::XComponentContext>& office, const QString& dataFile,
                         const QString& name);

// Makes the letter merge from table of the data source name: its mail-merge settings and every
// database field of the letter (which keeps its column) point there.
void attachDataSource(const css::uno::Reference<css::frame::XModel>& letter, const QString& name, const QString& table);

} // namespace zep
