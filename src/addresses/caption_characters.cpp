#include "addresses/caption_characters.h"

#include "data/cp1252.h"
#include "data/table.h"

namespace zep {

QStringList addressCaptionFields(Table& addresses) {
    if (addresses.field(u"Person").asBoolean())
        return {QStringLiteral("Name1"), QStringLiteral("Name2")};
    return {QStringLiteral("Name1")};
}

QStringList topicCaptionFields(Table&) {
    return {QStringLiteral("Thema")};
}

QString unrepresentableCaptionCharacters(Table& table, const QStringList& fields) {
    QString text;
    for (const QString& field : fields)
        text += table.field(field).asString();
    return unrepresentableCharacters(text);
}

void replaceUnrepresentableCaptionCharacters(Table& table, const QStringList& fields) {
    for (const QString& field : fields) {
        const QString text = table.field(field).asString();
        if (!unrepresentableCharacters(text).isEmpty())
            table.field(field).setValue(withUnrepresentableReplaced(text));
    }
}

QString unrepresentableCaptionQuestion(const QString& characters) {
    QStringList listed;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const bool pair = characters[i].isHighSurrogate() && i + 1 < characters.size();
        listed << characters.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
    }
    return QStringLiteral("Der Name enthält Zeichen, die in der Baumansicht nicht gespeichert werden können: %1\r\r"
                          "Ja: Speichern, diese Zeichen werden durch \"?\" ersetzt.\r"
                          "Nein: Zurück zur Eingabe, um den Namen zu ändern.")
        .arg(listed.join(u' '));
}

} // namespace zep
