#include "data/filter.h"

#include "data/collation.h"
#include "data/engine_error.h"

#include <QDate>
#include <QSet>
#include <map>

namespace zep {

namespace {

enum class Op { Eq, Ne, Lt, Le, Gt, Ge };

struct Operand {
    bool isField = false;
    QString name; // field name as written
    Filter::Column column{-1, FieldKind::String};
    QVariant literal;       // as written: qint64/double, QString, QDate, bool
    bool emptyText = false; // the literal ''
};

} // namespace

struct Filter::Node {
    enum Type { Or, And, Not, Compare, InSet } type;
    std::vector<std::shared_ptr<Node>> children;
    Op op = Op::Eq;
    Operand left, right;
    QSet<qint64> set; // InSet: the field in left is one of these integers
};

namespace {

using NodePtr = std::shared_ptr<Filter::Node>;

struct Token {
    enum Kind { End, LParen, RParen, Operator, String, Number, Date, Ident, And, Or, Not, True, False } kind;
    QString text;
    int position;
};

class Lexer {
public:
    Lexer(const QString& text, const QString& whole) : s_(text), whole_(whole) {}

    std::vector<Token> tokens() {
        std::vector<Token> out;
        for (;;) {
            skipBlanks();
            if (i_ >= s_.size()) {
                out.push_back({Token::End, {}, int(i_)});
                return out;
            }
            out.push_back(next());
        }
    }

    [[noreturn]] static void fail(const QString& whole, const QString& what, qsizetype position) {
        throw EngineError(QStringLiteral("Fehler im Filter \"%1\": %2 (an Stelle %3).")
                              .arg(messageExcerpt(whole), what, QString::number(position + 1)));
    }

private:
    void skipBlanks() {
        while (i_ < s_.size() && s_[i_].isSpace())
            ++i_;
    }

    Token next() {
        const qsizetype start = i_;
        const QChar c = s_[i_];
        if (c == u'(' || c == u')') {
            ++i_;
            return {c == u'(' ? Token::LParen : Token::RParen, QString(c), int(start)};
        }
        if (c == u'<' || c == u'>' || c == u'=' || c == u'!')
            return operatorToken(start);
        if (c == u'\'')
            return stringToken(start);
        if (c.isDigit() || ((c == u'-' || c == u'+') && i_ + 1 < s_.size() && s_[i_ + 1].isDigit()))
            return numberToken(start);
        if (c == u'"')
            return quotedIdent(start);
        if (c.isLetter() || c == u'_')
            return identToken(start);
        fail(whole_, QStringLiteral("unerwartetes Zeichen \"%1\"").arg(c), start);
    }

    Token operatorToken(qsizetype start) {
        QString op(s_[i_++]);
        if (i_ < s_.size() && (s_[i_] == u'=' || (op == u"<" && s_[i_] == u'>')))
            op += s_[i_++];
        if (op == u"!" || op == u"=<" || op == u"==")
            fail(whole_, QStringLiteral("unbekannter Operator \"%1\"").arg(op), start);
        if (op == u"!=")
            op = QStringLiteral("<>");
        return {Token::Operator, op, int(start)};
    }

    Token stringToken(qsizetype start) {
        QString value;
        ++i_;
        for (;;) {
            if (i_ >= s_.size())
                fail(whole_, QStringLiteral("nicht abgeschlossene Zeichenkette"), start);
            if (s_[i_] == u'\'') {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == u'\'') {
                    value += u'\'';
                    i_ += 2;
                    continue;
                }
                ++i_;
                return {Token::String, value, int(start)};
            }
            value += s_[i_++];
        }
    }

    Token numberToken(qsizetype start) {
        auto digits = [&] {
            while (i_ < s_.size() && s_[i_].isDigit())
                ++i_;
        };
        ++i_;
        digits();
        // dd.MM.yyyy: two points, digits in between
        if (i_ + 1 < s_.size() && s_[i_] == u'.' && s_[i_ + 1].isDigit()) {
            const qsizetype afterFirst = i_;
            ++i_;
            digits();
            if (i_ + 1 < s_.size() && s_[i_] == u'.' && s_[i_ + 1].isDigit()) {
                ++i_;
                digits();
                return {Token::Date, s_.mid(start, i_ - start), int(start)};
            }
            i_ = afterFirst;
        }
        if (i_ + 1 < s_.size() && (s_[i_] == u'.' || s_[i_] == u',') && s_[i_ + 1].isDigit()) {
            ++i_;
            digits();
        }
        return {Token::Number, s_.mid(start, i_ - start), int(start)};
    }

    Token quotedIdent(qsizetype start) {
        const qsizetype close = s_.indexOf(u'"', i_ + 1);
        if (close < 0)
            fail(whole_, QStringLiteral("nicht abgeschlossener Feldname"), start);
        const QString name = s_.mid(i_ + 1, close - i_ - 1);
        i_ = close + 1;
        return {Token::Ident, name, int(start)};
    }

    Token identToken(qsizetype start) {
        while (i_ < s_.size() && (s_[i_].isLetterOrNumber() || s_[i_] == u'_'))
            ++i_;
        const QString word = s_.mid(start, i_ - start);
        const QString upper = word.toUpper();
        if (upper == u"AND")
            return {Token::And, word, int(start)};
        if (upper == u"OR")
            return {Token::Or, word, int(start)};
        if (upper == u"NOT")
            return {Token::Not, word, int(start)};
        if (upper == u"TRUE")
            return {Token::True, word, int(start)};
        if (upper == u"FALSE")
            return {Token::False, word, int(start)};
        return {Token::Ident, word, int(start)};
    }

    const QString& s_;
    const QString& whole_;
    qsizetype i_ = 0;
};

// Deeper nesting than any filter the program builds; it keeps parsing, binding and testing a
// record, which all recurse, far from the end of the stack.
constexpr int kMaxNesting = 256;

class Parser {
public:
    Parser(std::vector<Token> tokens, const QString& whole) : t_(std::move(tokens)), whole_(whole) {}

    NodePtr parseAll() {
        NodePtr root = parseOr();
        if (peek().kind != Token::End)
            Lexer::fail(whole_, QStringLiteral("unerwartetes \"%1\"").arg(messageExcerpt(peek().text)),
                        peek().position);
        return root;
    }

    QStringList fieldNames;

private:
    const Token& peek() const { return t_[pos_]; }
    const Token& take() { return t_[pos_++]; }

    NodePtr joined(Filter::Node::Type type, Token::Kind separator, NodePtr (Parser::*operand)()) {
        NodePtr first = (this->*operand)();
        if (peek().kind != separator)
            return first;
        auto node = std::make_shared<Filter::Node>(Filter::Node{type, {first}, {}, {}, {}, {}});
        while (peek().kind == separator) {
            take();
            NodePtr next = (this->*operand)();
            if (next->type == type) // flatten a OR (b OR c) into one list
                node->children.insert(node->children.end(), next->children.begin(), next->children.end());
            else
                node->children.push_back(next);
        }
        return node;
    }

    NodePtr parseOr() { return joined(Filter::Node::Or, Token::Or, &Parser::parseAnd); }
    NodePtr parseAnd() { return joined(Filter::Node::And, Token::And, &Parser::parseUnary); }

    // Counts one level of nesting for as long as it lives.
    class Nesting {
    public:
        Nesting(Parser& parser, const Token& token) : parser_(parser) {
            if (++parser_.depth_ > kMaxNesting)
                Lexer::fail(parser_.whole_, QStringLiteral("der Ausdruck ist zu tief geschachtelt"), token.position);
        }
        ~Nesting() { --parser_.depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Parser& parser_;
    };

    NodePtr parseUnary() {
        if (peek().kind == Token::Not) {
            const Nesting nesting(*this, take());
            return std::make_shared<Filter::Node>(Filter::Node{Filter::Node::Not, {parseUnary()}, {}, {}, {}, {}});
        }
        if (peek().kind == Token::LParen) {
            const Nesting nesting(*this, take());
            NodePtr inner = parseOr();
            if (take().kind != Token::RParen)
                Lexer::fail(whole_, QStringLiteral("\")\" fehlt"), t_[pos_ - 1].position);
            return inner;
        }
        return parseComparison();
    }

    NodePtr parseComparison() {
        auto node = std::make_shared<Filter::Node>(Filter::Node{Filter::Node::Compare, {}, {}, {}, {}, {}});
        node->left = parseOperand();
        const Token& op = take();
        if (op.kind != Token::Operator)
            Lexer::fail(whole_, QStringLiteral("Vergleichsoperator erwartet"), op.position);
        node->op = op.text == u"="    ? Op::Eq
                   : op.text == u"<>" ? Op::Ne
                   : op.text == u"<"  ? Op::Lt
                   : op.text == u"<=" ? Op::Le
                   : op.text == u">"  ? Op::Gt
                                      : Op::Ge;
        node->right = parseOperand();
        return node;
    }

    Operand parseOperand() {
        const Token& token = take();
        Operand operand;
        switch (token.kind) {
        case Token::Ident:
            operand.isField = true;
            operand.name = token.text;
            if (!fieldNames.contains(token.text, Qt::CaseInsensitive))
                fieldNames << token.text;
            return operand;
        case Token::String:
            operand.literal = token.text;
            operand.emptyText = token.text.isEmpty();
            return operand;
        case Token::Number: {
            QString number = token.text;
            number.replace(u',', u'.');
            bool ok = false;
            operand.literal = number.contains(u'.') ? QVariant(number.toDouble(&ok)) : QVariant(number.toLongLong(&ok));
            if (!ok)
                Lexer::fail(whole_, QStringLiteral("die Zahl \"%1\" ist zu groß").arg(messageExcerpt(token.text)),
                            token.position);
            return operand;
        }
        case Token::Date: {
            const QDate date = parseGermanDate(token.text);
            if (!date.isValid())
                Lexer::fail(whole_, QStringLiteral("ungültiges Datum \"%1\"").arg(token.text), token.position);
            operand.literal = date;
            return operand;
        }
        case Token::True:
        case Token::False:
            operand.literal = token.kind == Token::True;
            return operand;
        default:
            Lexer::fail(whole_, QStringLiteral("Feldname oder Wert erwartet"), token.position);
        }
    }

    std::vector<Token> t_;
    const QString& whole_;
    size_t pos_ = 0;
    int depth_ = 0;
};

bool isIntegerKind(FieldKind kind) {
    return kind == FieldKind::AutoInc || kind == FieldKind::Integer || kind == FieldKind::SmallInt;
}

// Reads a literal as the kind of the field it is compared with.
void coerceLiteral(Operand& literal, const Operand& field, const QString& filterText, const QString& table) {
    if (literal.emptyText || !literal.literal.isValid())
        return;
    if (isTextKind(field.column.kind)) {
        literal.literal = valueText(literal.literal);
        return;
    }
    try {
        literal.literal = coerceValue(FieldDef{field.name, field.column.kind, 0}, literal.literal, table);
    } catch (const EngineError& e) {
        throw EngineError(QStringLiteral("Fehler im Filter \"%1\": %2").arg(messageExcerpt(filterText), e.message()));
    }
}

void bindOperand(Operand& operand, const Filter::Resolver& resolver, const QString& filterText, const QString& table) {
    if (!operand.isField)
        return;
    const auto column = resolver(operand.name);
    if (!column)
        throw EngineError(QStringLiteral("Fehler im Filter \"%1\": Das Feld \"%2\" gibt es in \"%3\" nicht.")
                              .arg(messageExcerpt(filterText), messageExcerpt(operand.name), table));
    operand.column = *column;
}

bool isIntegerEquality(const Filter::Node& node) {
    return node.type == Filter::Node::Compare && node.op == Op::Eq && node.left.isField && !node.right.isField &&
           isIntegerKind(node.left.column.kind) && node.right.literal.metaType().id() == QMetaType::LongLong;
}

// Long OR lists of "field = integer" on one integer field (the entries of a subtree) become one set test.
void collapseIntegerSets(Filter::Node& node) {
    if (node.type != Filter::Node::Or)
        return;
    std::vector<NodePtr> kept;
    std::map<int, NodePtr> sets;
    for (const NodePtr& child : node.children) {
        if (!isIntegerEquality(*child)) {
            kept.push_back(child);
            continue;
        }
        NodePtr& set = sets[child->left.column.index];
        if (!set) {
            set = std::make_shared<Filter::Node>(Filter::Node{Filter::Node::InSet, {}, {}, child->left, {}, {}});
            kept.push_back(set);
        }
        set->set.insert(child->right.literal.toLongLong());
    }
    node.children = std::move(kept);
}

void bindNode(Filter::Node& node, const Filter::Resolver& resolver, const QString& text, const QString& table) {
    for (const NodePtr& child : node.children)
        bindNode(*child, resolver, text, table);
    if (node.type == Filter::Node::Compare) {
        bindOperand(node.left, resolver, text, table);
        bindOperand(node.right, resolver, text, table);
        if (node.left.isField && !node.right.isField)
            coerceLiteral(node.right, node.left, text, table);
        else if (node.right.isField && !node.left.isField)
            coerceLiteral(node.left, node.right, text, table);
    }
    collapseIntegerSets(node);
}

bool isBlank(const QVariant& v) {
    return !v.isValid() || v.isNull() || (v.metaType().id() == QMetaType::QString && v.toString().isEmpty());
}

const QVariant& operandValue(const Operand& operand, const QVariant* values) {
    return operand.isField ? values[operand.column.index] : operand.literal;
}

bool compare(const Filter::Node& node, const QVariant* values) {
    const QVariant& a = operandValue(node.left, values);
    const QVariant& b = operandValue(node.right, values);
    if (node.left.emptyText || node.right.emptyText) {
        const bool blank = isBlank(node.left.emptyText ? b : a);
        if (node.op == Op::Eq)
            return blank;
        if (node.op == Op::Ne)
            return !blank;
    }
    if (node.op == Op::Eq || node.op == Op::Ne) {
        const bool textual = a.metaType().id() == QMetaType::QString && b.metaType().id() == QMetaType::QString;
        const bool equal = textual ? a.toString() == b.toString() : compareValues(a, b) == 0;
        return (node.op == Op::Eq) == equal;
    }
    const int c = compareValues(a, b);
    switch (node.op) {
    case Op::Lt:
        return c < 0;
    case Op::Le:
        return c <= 0;
    case Op::Gt:
        return c > 0;
    default:
        return c >= 0;
    }
}

bool evaluate(const Filter::Node& node, const QVariant* values) {
    switch (node.type) {
    case Filter::Node::Or:
        for (const NodePtr& child : node.children)
            if (evaluate(*child, values))
                return true;
        return false;
    case Filter::Node::And:
        for (const NodePtr& child : node.children)
            if (!evaluate(*child, values))
                return false;
        return true;
    case Filter::Node::Not:
        return !evaluate(*node.children.front(), values);
    case Filter::Node::InSet: {
        const QVariant& v = values[node.left.column.index];
        return v.isValid() && !v.isNull() && node.set.contains(v.toLongLong());
    }
    case Filter::Node::Compare:
        return compare(node, values);
    }
    return false;
}

} // namespace

Filter Filter::parse(const QString& text) {
    Filter filter;
    filter.text_ = text;
    if (text.trimmed().isEmpty())
        return filter;
    Parser parser(Lexer(text, text).tokens(), text);
    filter.root_ = parser.parseAll();
    filter.fieldNames_ = parser.fieldNames;
    return filter;
}

void Filter::bind(const Resolver& resolver, const QString& tableName) {
    if (root_) {
        // Binding rewrites literals; a fresh parse keeps an earlier binding to another table intact.
        root_ = Filter::parse(text_).root_;
        bindNode(*root_, resolver, text_, tableName);
    }
    bound_ = true;
}

bool Filter::matches(const QVariant* values) const {
    return !root_ || evaluate(*root_, values);
}

std::optional<std::vector<Filter::EqualityTerm>> Filter::equalityTerms() const {
    if (!root_ || !bound_)
        return std::nullopt;
    const std::vector<std::shared_ptr<Node>> single{root_};
    const auto& terms = root_->type == Node::Or ? root_->children : single;
    std::vector<EqualityTerm> result;
    for (const auto& term : terms) {
        if (term->type == Node::InSet)
            result.push_back({term->left.column.index, std::vector<qint64>(term->set.begin(), term->set.end())});
        else if (isIntegerEquality(*term))
            result.push_back({term->left.column.index, {term->right.literal.toLongLong()}});
        else
            return std::nullopt;
    }
    return result;
}

} // namespace zep
