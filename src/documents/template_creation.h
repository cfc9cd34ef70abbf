#pragma once

#include <QString>
#include <QStringList>

namespace zep {

// What the template-creation dialog tells the user: the two ways to a first template and where the
// templates directory is.
QStringList templateCreationLines(const QString& templatesDir);

// The file dialog's filter for templates of an extension (without dot), then all files.
QString templateFileFilter(const QString& extension);

// Copies a file into the templates directory under its own name. Empty on success, else a German
// message; an existing template of that name is replaced only by a complete copy.
QString copyIntoTemplates(const QString& file, const QString& templatesDir);

} // namespace zep
