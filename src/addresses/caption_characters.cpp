#include "addresses/caption_characters.h"

#include "data/cp1252.h"
#include "data/table.h"
#include "data/unrepresentable_text.h"

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
    QStringList texts;
    for (const QString& field : fields)
        texts << table.field(field).asString();
    return unrepresentableCharactersOf(texts);
}

void replaceUnrepresentableCaptionCharacters(Table& table, const QStringList& fields) {
    for (const QString& field : fields) {
        const QString text = table.field(field).asString();
        if (!unrepresentableCharacters(text).isEmpty())
            table.field(field).setValue(withUnrepresentableReplaced(text));
    }
}

QString unrepresentableCaptionQuestion(const QString& characters) {
    return unrepresentableTextQuestion(
        {QStringLiteral("Der Name"), QStringLiteral("in der Baumansicht"), QStringLiteral("den Namen")}, characters);
}

} // namespace zep
