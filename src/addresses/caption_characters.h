#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zep {

class Table;

// The tree files hold node captions in Windows-1252, the tables hold any text. A caption character the
// tree file cannot hold would make tree and table disagree after the next start, so the forms ask
// before such a record is saved.

// The fields of the record the table stands on whose text reaches its node caption.
using CaptionFields = std::function<QStringList(Table&)>;
QStringList addressCaptionFields(Table& addresses); // Name1, and Name2 of a person
QStringList topicCaptionFields(Table& topics);      // Thema

// The characters of those fields the tree file cannot hold, each once; empty when there are none.
QString unrepresentableCaptionCharacters(Table& table, const QStringList& fields);
// Replaces those characters in the fields by "?", as the tree file would store them.
void replaceUnrepresentableCaptionCharacters(Table& table, const QStringList& fields);

// Yes saves with the characters replaced, No goes back to the form.
QString unrepresentableCaptionQuestion(const QString& characters);

} // namespace zep
