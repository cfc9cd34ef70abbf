#include "data/unrepresentable_text.h"

#include "data/cp1252.h"

namespace zep {

QString unrepresentableCharactersOf(const QStringList& texts) {
    return unrepresentableCharacters(texts.join(QString()));
}

QString unrepresentableTextQuestion(const UnrepresentableTextPlace& place, const QString& characters) {
    QStringList listed;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const bool pair = characters[i].isHighSurrogate() && i + 1 < characters.size();
        listed << characters.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
    }
    return QStringLiteral("%1 enthält Zeichen, die %2 nicht gespeichert werden können: %3\r\r"
                          "Ja: Speichern, diese Zeichen werden durch \"?\" ersetzt.\r"
                          "Nein: Zurück zur Eingabe, um %4 zu ändern.")
        .arg(place.subject, place.where, listed.join(u' '), place.object);
}

} // namespace zep
