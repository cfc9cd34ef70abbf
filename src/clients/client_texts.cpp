#include "clients/client_texts.h"

namespace zep::texts {

QString openingNotice(const QString& clientName) {
    return QStringLiteral("Öffne Mandanten \"%1\"\n\r\n\rBitte warten...").arg(clientName);
}

QString openingFailed(const QString& clientName) {
    return QStringLiteral("Es trat ein Fehler beim Öffnen des Mandanten \"%1\" auf.").arg(clientName);
}

QString wrongTableVersion() {
    return QStringLiteral("Falsche Datenbankversion !\n\r\n\rDatenbank wird nun aktualisiert");
}

QString deleteClientQuestion(const QString& clientName) {
    return QStringLiteral("Der Mandant \"%1\" wird aus der Liste gelöscht.\r\rDaten auf dem Datenträger bleiben "
                          "bestehen.\rLöschen Sie die Daten gegebenfalls selbst!")
        .arg(clientName);
}

QString directoryExistsQuestion(const QString& clientDirectory) {
    return QStringLiteral("Das Verzeichnis \"%1\" existiert bereits!!!\n\r\n\rEs werden keine neuen Tabellen "
                          "angelegt\n\r\n\r\n\rSoll der Mandant trotzdem in die Liste aufgenommen werden?")
        .arg(clientDirectory);
}

QString createClientQuestion(const QString& clientName) {
    return QStringLiteral("Der Mandant \"%1\" wird nun angelegt, Tabellen werden generiert").arg(clientName);
}

QString directoriesNotCreated() {
    return QStringLiteral("FEHLER bei Anlegen der Verzeichnisse");
}

QString templateNotCopied(const QString& templateDirectory) {
    return QStringLiteral("FEHLER beim Kopieren der Mandantenvorlage aus \"%1\".\rDer Mandant wird nicht in die "
                          "Liste aufgenommen.")
        .arg(templateDirectory);
}

QString clientTablesMissing(const QString& clientDirectory, const QStringList& tables) {
    return QStringLiteral("Im Verzeichnis \"%1\" fehlen die Tabellen des Mandanten: %2.\rDer Mandant wird nicht in "
                          "die Liste aufgenommen.")
        .arg(clientDirectory, tables.join(QStringLiteral(", ")));
}

QString replaceClientQuestion(const QString& listedName, const QString& listedDirectory, bool sameSpelling) {
    const QString caseNote = sameSpelling ? QString()
                                          : QStringLiteral(" Groß- und Kleinschreibung werden bei Mandantennamen "
                                                           "nicht unterschieden.");
    return QStringLiteral("Der Mandant \"%1\" im Verzeichnis \"%2\" steht bereits in der Liste.%3\r\rSoll dieser "
                          "Eintrag ersetzt werden? Das Verzeichnis \"%2\" bleibt auf dem Datenträger bestehen.")
        .arg(listedName, listedDirectory, caseNote);
}

QString openClientNotReplaced(const QString& clientName) {
    return QStringLiteral("Der Mandant \"%1\" ist geöffnet und kann nicht ersetzt werden.\rBitte wählen Sie "
                          "einen anderen Namen.")
        .arg(clientName);
}

namespace {

QString withCause(const QString& message, const QString& cause) {
    return cause.isEmpty() ? message : message + u'\r' + cause;
}

} // namespace

QString clientNotRegistered(const QString& clientName, const QString& cause) {
    return withCause(QStringLiteral("Der Mandant \"%1\" konnte nicht in die Liste aufgenommen werden.").arg(clientName),
                     cause);
}

QString clientNotRemoved(const QString& clientName, const QString& cause) {
    return withCause(QStringLiteral("Der Mandant \"%1\" konnte nicht aus der Liste gelöscht werden.").arg(clientName),
                     cause);
}

QString invalidClientName(const QString& clientName) {
    return QStringLiteral("Der Name \"%1\" kann nicht als Mandant verwendet werden.\r\rEin Mandantenname darf nicht "
                          "leer sein, nicht mit einem Leerzeichen oder \";\" beginnen, nicht mit einem Leerzeichen "
                          "enden, nicht \".\" oder \"..\" lauten und keines der Zeichen = @ [ ] / und keinen "
                          "Zeilenumbruch enthalten.")
        .arg(clientName);
}

QString invalidParentDirectory(const QString& parentDirectory) {
    return QStringLiteral("Das Verzeichnis \"%1\" kann nicht verwendet werden.\r\rBitte geben Sie ein vollständiges "
                          "Verzeichnis an, das mit \"/\" beginnt und keinen Zeilenumbruch enthält.")
        .arg(parentDirectory);
}

QString noClientChosen() {
    return QStringLiteral("Bitte wählen Sie einen Mandanten aus der Liste aus.");
}

QString networkFileSystemWarning(const QString& clientName) {
    return QStringLiteral(
               "Der Mandant \"%1\" liegt auf einem Netzlaufwerk.\r\rDort schützt die Sperre der Tabellen nicht "
               "zuverlässig: Arbeiten zwei Arbeitsplätze gleichzeitig mit diesem Mandanten, können die Tabellen "
               "beschädigt werden. Sicher ist es, wenn immer nur ein Arbeitsplatz den Mandanten geöffnet hat. Legen "
               "Sie regelmäßig Datensicherungen an.\r\rDieser Hinweis erscheint für diesen Mandanten nur einmal.")
        .arg(clientName);
}

QString settingNotSaved(const QString& settingsFile) {
    return QStringLiteral("Die Einstellung konnte nicht in \"%1\" gespeichert werden.").arg(settingsFile);
}

} // namespace zep::texts
