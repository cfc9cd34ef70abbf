#pragma once

#include <QByteArray>
#include <QString>

namespace zep::test {

// The whole file; empty when it cannot be read.
QByteArray readBytes(const QString& path);
// Writes the file anew; false when any part fails.
bool writeBytes(const QString& path, const QByteArray& bytes);

} // namespace zep::test
