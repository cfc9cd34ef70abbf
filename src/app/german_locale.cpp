#include "app/german_locale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zep {

bool speakGerman() {
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);
    // Owned by the application, so it lives as long as the texts are needed.
    auto* qtTexts = new QTranslator(QCoreApplication::instance());
    if (!qtTexts->load(german, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtTexts;
        return false;
    }
    return QCoreApplication::installTranslator(qtTexts);
}

} // namespace zep
