#include "serial/serial_texts.h"

namespace zep::serial_texts {

QString windowCaption() {
    return QStringLiteral("Seriendruck mit Word");
}
QString branchDialogCaption() {
    return QStringLiteral("Auswahl");
}
QString askRemoveMarked() {
    return QStringLiteral("Markierte Adressen wirklich löschen?");
}
QString askRemoveAll() {
    return QStringLiteral("ALLE Adressen wirklich löschen?");
}
QString dataFileFailed() {
    return QStringLiteral("Adressdaten konnten nicht erstellt werden");
}
QString noRecipients() {
    return QStringLiteral("Keine Adressdaten vorhanden");
}
QString noWordVersion() {
    return QStringLiteral("Es wurde keine Word-Version in der Registry gefunden");
}
QString cannotConnect() {
    return QStringLiteral("Es konnte keine Verbindung zu Word hergestellt werden");
}
QString letterNotLoaded() {
    return QStringLiteral("Das Dokument konnte nicht geladen werden");
}
QString dataNotLoaded() {
    return QStringLiteral("Adressdaten konnten in Word NICHT geladen werden");
}
QString germanWordOnly() {
    return QStringLiteral("Diese Version von ZEP unterstützt nur die deutsche Word-Version");
}
QString connectionLost() {
    return QStringLiteral("Keine Verbindung zu Word");
}

QString statusCheckingAddresses() {
    return QStringLiteral("Prüfe Adressdaten");
}
QString statusWritingDataFile() {
    return QStringLiteral("Erzeuge Datendatei");
}
QString statusStartingWord() {
    return QStringLiteral("Starte Word");
}
QString statusCheckingVersion() {
    return QStringLiteral("Versionsprüfung");
}
QString statusLoadingLetter() {
    return QStringLiteral("Lade Dokument");
}
QString statusLoadingDataFile() {
    return QStringLiteral("Lade Datendatei");
}
QString statusEndingWord() {
    return QStringLiteral("Beende Word");
}
QString statusDone() {
    return QStringLiteral("Aktion erfolgreich ausgeführt");
}

} // namespace zep::serial_texts
