#include "data/sql_query.h"

#include "data/engine_error.h"
#include "data/table_file.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace zep {

QString queryErrorMessage(const QString& text, const QString& what) {
    return QStringLiteral("Fehler in der Abfrage \"%1\": %2").arg(messageExcerpt(text.simplified()), what);
}

namespace {

struct Token {
    enum Kind { End, Word, Comma, Star, Equals } kind;
    QString text;
};

[[noreturn]] void sqlError(const QString& text, const QString& what) {
    throw EngineError(queryErrorMessage(text, what));
}

std::vector<Token> tokenize(const QString& text) {
    std::vector<Token> tokens;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u',' || c == u'*' || c == u'=') {
            tokens.push_back({c == u',' ? Token::Comma : c == u'*' ? Token::Star : Token::Equals, QString(c)});
            ++i;
        } else if (c.isLetterOrNumber() || c == u'_') {
            const qsizetype start = i;
            while (i < text.size() && (text[i].isLetterOrNumber() || text[i] == u'_' || text[i] == u'.' ||
                                       (text[i] == u'*' && text[i - 1] == u'.')))
                ++i;
            tokens.push_back({Token::Word, text.mid(start, i - start)});
        } else {
            sqlError(text, QStringLiteral("unerwartetes Zeichen \"%1\"").arg(c));
        }
    }
    tokens.push_back({Token::End, {}});
    return tokens;
}

struct SourceTable {
    QString name;  // as written
    QString alias; // as written, or the name
    QString path;
    TableLayout layout;
    QString sqlAlias; // q0, q1, ...
};

// Each table of a query is attached to one connection, and SQLite attaches at most ten databases.
constexpr size_t kMaxTables = 10;

struct ColumnRef {
    int table;
    int field;
};

struct OutputColumn {
    QString name;
    ColumnRef ref;
};

class Translator {
public:
    Translator(const QString& text, const QString& directory) : text_(text), directory_(directory) {
        tokens_ = tokenize(text);
    }

    TranslatedQuery run() {
        expectKeyword(u"SELECT");
        std::vector<std::pair<Token, QString>> items = parseSelectItems();
        expectKeyword(u"FROM");
        const QString from = takeWord();
        addTable(from, optionalAlias());
        parseJoins();
        resolveOutputs(items);
        QStringList order = parseOrderBy();
        if (peek().kind != Token::End)
            sqlError(text_, QStringLiteral("unerwartetes \"%1\"").arg(messageExcerpt(peek().text)));
        return build(order);
    }

private:
    const Token& peek() const { return tokens_[pos_]; }
    bool atKeyword(QStringView word) const {
        return peek().kind == Token::Word && peek().text.compare(word, Qt::CaseInsensitive) == 0;
    }
    void expectKeyword(QStringView word) {
        if (!atKeyword(word))
            sqlError(text_, QStringLiteral("\"%1\" erwartet").arg(word.toString()));
        ++pos_;
    }
    QString takeWord() {
        if (peek().kind != Token::Word)
            sqlError(text_, QStringLiteral("Name erwartet"));
        return tokens_[pos_++].text;
    }
    static bool isKeyword(QStringView word) {
        for (const char16_t* k : {u"FROM", u"LEFT", u"INNER", u"OUTER", u"JOIN", u"ON", u"ORDER", u"BY", u"AS", u"ASC",
                                  u"DESC", u"WHERE", u"SELECT", u"GROUP"})
            if (word.compare(QStringView(k), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }
    QString optionalAlias() {
        if (peek().kind == Token::Word && !isKeyword(peek().text))
            return takeWord();
        return {};
    }

    std::vector<std::pair<Token, QString>> parseSelectItems() {
        std::vector<std::pair<Token, QString>> items;
        for (;;) {
            if (peek().kind == Token::Star) {
                items.push_back({tokens_[pos_++], {}});
            } else {
                const Token column{Token::Word, takeWord()};
                QString alias;
                if (atKeyword(u"AS")) {
                    ++pos_;
                    alias = takeWord();
                }
                items.push_back({column, alias});
            }
            if (peek().kind != Token::Comma)
                return items;
            ++pos_;
        }
    }

    void addTable(const QString& name, const QString& alias) {
        if (tables_.size() == kMaxTables)
            sqlError(text_, QStringLiteral("Eine Abfrage kann höchstens %1 Tabellen verbinden.").arg(kMaxTables));
        QString path = resolveTableFile(directory_, name);
        if (!QFileInfo(path).isFile() && !name.contains(u'.'))
            path = resolveTableFile(directory_, name + QStringLiteral(".db"));
        if (!QFileInfo(path).isFile())
            sqlError(text_, QStringLiteral("Die Tabelle \"%1\" gibt es im Verzeichnis \"%2\" nicht.")
                                .arg(messageExcerpt(name), directory_));
        SourceTable table{name, alias.isEmpty() ? name : alias, path, readTableLayout(path),
                          QStringLiteral("q%1").arg(tables_.size())};
        tables_.push_back(std::move(table));
    }

    void parseJoins() {
        for (;;) {
            QString kind = QStringLiteral("LEFT JOIN");
            if (atKeyword(u"LEFT")) {
                ++pos_;
                if (atKeyword(u"OUTER"))
                    ++pos_;
            } else if (atKeyword(u"INNER")) {
                ++pos_;
                kind = QStringLiteral("JOIN");
            } else if (atKeyword(u"JOIN")) {
                kind = QStringLiteral("JOIN");
            } else {
                return;
            }
            expectKeyword(u"JOIN");
            const QString name = takeWord();
            addTable(name, optionalAlias());
            expectKeyword(u"ON");
            const ColumnRef left = resolve(takeWord());
            if (peek().kind != Token::Equals)
                sqlError(text_, QStringLiteral("\"=\" erwartet"));
            ++pos_;
            const ColumnRef right = resolve(takeWord());
            joins_ << QStringLiteral(" %1 %2 AS %3 ON %4 = %5")
                          .arg(kind, tableSql(int(tables_.size()) - 1), tables_.back().sqlAlias, columnSql(left),
                               columnSql(right));
        }
    }

    QString tableSql(int table) const {
        return QStringLiteral("t%1.%2").arg(table).arg(quoteIdentifier(kStorageTable));
    }

    QString columnSql(const ColumnRef& ref) const {
        return tables_[size_t(ref.table)].sqlAlias + u'.' +
               quoteIdentifier(tables_[size_t(ref.table)].layout.fields[size_t(ref.field)].name);
    }

    const FieldDef& fieldOf(const ColumnRef& ref) const {
        return tables_[size_t(ref.table)].layout.fields[size_t(ref.field)];
    }

    // "Name1", "a.Name1" or "adressen.db.Name1"
    std::optional<ColumnRef> tryResolve(const QString& word) const {
        const qsizetype dot = word.lastIndexOf(u'.');
        if (dot > 0) {
            const QString qualifier = word.left(dot), name = word.mid(dot + 1);
            for (size_t t = 0; t < tables_.size(); ++t) {
                if (tables_[t].alias.compare(qualifier, Qt::CaseInsensitive) != 0 &&
                    tables_[t].name.compare(qualifier, Qt::CaseInsensitive) != 0)
                    continue;
                const int field = tables_[t].layout.fieldIndex(name);
                if (field < 0)
                    sqlError(text_, QStringLiteral("Das Feld \"%1\" gibt es in \"%2\" nicht.")
                                        .arg(messageExcerpt(name), tables_[t].name));
                return ColumnRef{int(t), field};
            }
            sqlError(text_, QStringLiteral("Unbekannte Tabelle \"%1\".").arg(messageExcerpt(qualifier)));
        }
        for (size_t t = 0; t < tables_.size(); ++t) {
            const int field = tables_[t].layout.fieldIndex(word);
            if (field >= 0)
                return ColumnRef{int(t), field};
        }
        return std::nullopt;
    }

    ColumnRef resolve(const QString& word) const {
        if (const auto ref = tryResolve(word))
            return *ref;
        sqlError(
            text_,
            QStringLiteral("Das Feld \"%1\" gibt es in \"%2\" nicht.").arg(messageExcerpt(word), tables_.front().name));
    }

    // A name already given gets the first free "_n" after it; the next suffix to try is kept per
    // name, so many copies of one column stay linear.
    void addOutput(const QString& name, const ColumnRef& ref) {
        QString unique = name;
        int& suffix = nextSuffix_[name.toCaseFolded()];
        while (usedNames_.contains(unique.toCaseFolded()))
            unique = name + QStringLiteral("_%1").arg(++suffix);
        usedNames_.insert(unique.toCaseFolded());
        outputs_.push_back({unique, ref});
    }

    // The tables whose columns "*" or "alias.*" stands for.
    std::vector<int> starTables(const Token& token) const {
        std::vector<int> found;
        const QString qualifier = token.text.chopped(std::min<qsizetype>(2, token.text.size()));
        for (size_t t = 0; t < tables_.size(); ++t)
            if (token.kind == Token::Star || tables_[t].alias.compare(qualifier, Qt::CaseInsensitive) == 0 ||
                tables_[t].name.compare(qualifier, Qt::CaseInsensitive) == 0)
                found.push_back(int(t));
        if (found.empty())
            sqlError(text_, QStringLiteral("Unbekannte Tabelle \"%1\".").arg(messageExcerpt(qualifier)));
        return found;
    }

    void resolveOutputs(const std::vector<std::pair<Token, QString>>& items) {
        for (const auto& [token, alias] : items) {
            if (token.kind == Token::Star || token.text.endsWith(u".*")) {
                for (const int t : starTables(token))
                    for (size_t f = 0; f < tables_[size_t(t)].layout.fields.size(); ++f)
                        addOutput(tables_[size_t(t)].layout.fields[f].name, ColumnRef{t, int(f)});
                continue;
            }
            const ColumnRef ref = resolve(token.text);
            addOutput(alias.isEmpty() ? fieldOf(ref).name : alias, ref);
        }
    }

    QStringList parseOrderBy() {
        QStringList terms;
        if (!atKeyword(u"ORDER"))
            return terms;
        ++pos_;
        expectKeyword(u"BY");
        for (;;) {
            // "ORDER BY DESC" would otherwise be read as a field named DESC.
            if (peek().kind != Token::Word || isKeyword(peek().text))
                sqlError(text_, QStringLiteral("Im \"ORDER BY\" fehlt ein Feldname."));
            const QString word = takeWord();
            std::optional<ColumnRef> ref = tryResolve(word);
            if (!ref) {
                for (const OutputColumn& output : outputs_)
                    if (output.name.compare(word, Qt::CaseInsensitive) == 0)
                        ref = output.ref;
            }
            if (!ref)
                sqlError(text_, QStringLiteral("Das Feld \"%1\" gibt es in \"%2\" nicht.")
                                    .arg(messageExcerpt(word), tables_.front().name));
            QString term = columnSql(*ref);
            if (isTextKind(fieldOf(*ref).kind))
                term += QStringLiteral(" COLLATE ZEP");
            if (atKeyword(u"DESC") || atKeyword(u"ASC"))
                term += u' ' + tokens_[pos_++].text.toUpper();
            terms << term;
            if (peek().kind != Token::Comma)
                return terms;
            ++pos_;
        }
    }

    TranslatedQuery build(const QStringList& order) const {
        TranslatedQuery result;
        QStringList select;
        for (const OutputColumn& output : outputs_) {
            select << columnSql(output.ref) + QStringLiteral(" AS ") + quoteIdentifier(output.name);
            FieldDef def = fieldOf(output.ref);
            def.name = output.name;
            result.columns.push_back(def);
        }
        for (size_t t = 0; t < tables_.size(); ++t)
            result.attachments.push_back({tables_[t].path, QStringLiteral("t%1").arg(t)});
        result.sql =
            QStringLiteral("SELECT %1 FROM %2 AS %3%4")
                .arg(select.join(QStringLiteral(", ")), tableSql(0), tables_.front().sqlAlias, joins_.join(QString()));
        if (!order.isEmpty())
            result.sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
        return result;
    }

    QString text_;
    QString directory_;
    std::vector<Token> tokens_;
    size_t pos_ = 0;
    std::vector<SourceTable> tables_;
    std::vector<OutputColumn> outputs_;
    QSet<QString> usedNames_;        // case-folded
    QHash<QString, int> nextSuffix_; // case-folded name -> last suffix tried
    QStringList joins_;
};

} // namespace

TranslatedQuery translateLocalSql(const QString& text, const QString& directory) {
    return Translator(text, directory).run();
}

} // namespace zep
