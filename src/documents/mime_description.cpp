#include "documents/mime_description.h"

#include <QLocale>
#include <QMimeType>

namespace zep {

// The MIME database describes a type in the default locale's language, so the default is German for
// this one question.
QString germanDescription(const QMimeType& type) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString comment = type.comment();
    QLocale::setDefault(previous);
    return comment;
}

} // namespace zep
