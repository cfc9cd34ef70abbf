#pragma once

#include "data/field.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace zep {

// A record filter in the text form the program builds: comparisons (=, <>, <, >, <=, >=) of fields
// with numbers, 'strings' or unquoted dd.MM.yyyy dates, joined by AND, OR, NOT and parentheses.
// Field names are matched without regard to case; '' matches an empty or null value; null sorts
// before every other value.
class Filter {
public:
    struct Node;
    struct Column {
        int index;      // position of the field in the value array handed to matches()
        FieldKind kind; // the field's kind, to read literals the same way
    };
    using Resolver = std::function<std::optional<Column>(QStringView fieldName)>;

    Filter() = default;
    // Parses the text; throws EngineError with a German message on a syntax error.
    static Filter parse(const QString& text);

    bool isEmpty() const { return root_ == nullptr; }
    const QString& text() const { return text_; }
    // The field names the expression refers to, each once, as written first.
    const QStringList& fieldNames() const { return fieldNames_; }

    // Resolves every field and reads every literal as its field's kind. Throws EngineError naming
    // the field and the table when a field does not exist or a literal does not fit.
    void bind(const Resolver& resolver, const QString& tableName);
    bool isBound() const { return bound_; }

    // Tests one record; values[i] is the value of the column with index i.
    bool matches(const QVariant* values) const;

    // When the bound filter is one "integer field = number" term or an OR of such terms (the entry
    // filters of the trees), the terms, so that a caller can answer it from an index.
    struct EqualityTerm {
        int column;
        std::vector<qint64> values;
    };
    std::optional<std::vector<EqualityTerm>> equalityTerms() const;

private:
    QString text_;
    QStringList fieldNames_;
    std::shared_ptr<Node> root_;
    bool bound_ = false;
};

} // namespace zep
