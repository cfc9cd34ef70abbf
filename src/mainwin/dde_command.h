#pragma once

#include <QString>

#include <optional>

namespace zep {

// The command an application is handed for a file: the first "%1" of the template replaced by the
// file name, later ones kept. Nothing when the template holds no "%1": no conversation is started.
std::optional<QString> ddeCommandText(const QString& commandTemplate, const QString& fileName);

} // namespace zep
