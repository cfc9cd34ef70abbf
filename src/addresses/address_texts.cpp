#include "addresses/address_texts.h"

#include <QDir>

namespace zep {

namespace {
// The destination buffer holds 80 characters and the terminating zero.
constexpr qsizetype DialDestinationLimit = 80;
} // namespace

QString deleteEntryQuestion() {
    return QStringLiteral(
        "Der ausgewählte Eintrag, alle seine Untereinträge und zugehörige Dokumente werden gelöscht !!!");
}

QString filesNotTrashedMessage(const QStringList& paths) {
    QStringList shown;
    for (const QString& path : paths)
        shown << QDir::toNativeSeparators(path);
    return QStringLiteral("Diese Dateien konnten nicht in den Papierkorb verschoben werden:\r%1\rIhre Dokumente und "
                          "Einträge wurden nicht gelöscht.")
        .arg(shown.join(u'\r'));
}

QString dialResultMessage(int result) {
    switch (result) {
    case TelephonyInvalidNumber:
        return QStringLiteral("Ungültige Rufnummer");
    case TelephonyQueueFull:
        return QStringLiteral("Warteschlange voll");
    case TelephonyNoRecipient:
        return QStringLiteral("Tapi nicht verfügbar");
    default:
        return {};
    }
}

QString webPageErrorMessage(int code) {
    return QStringLiteral("Fehler beim Öffnen der Seite\n\rFehler: %1").arg(code);
}

QString dialDestination(const QString& number) {
    return number.left(DialDestinationLimit);
}

QString dialApplicationName() {
    return QStringLiteral("ZEP");
}

} // namespace zep
