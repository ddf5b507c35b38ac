// Filter texts of data sets: tokenizer, recursive-descent parser with a depth limit, evaluator.
#include "foundation/ZVFilterExpr.h"

#include "foundation/ZVError.h"

#include <QLocale>

#include <vector>

namespace zorvel {

namespace {

enum class TTok { End, Field, String, Number, LParen, RParen, Op, Minus, And, Or, Not, True, False, Null };
enum class TOp { Eq, Ne, Lt, Gt, Le, Ge };

struct TToken
{
    TTok Kind = TTok::End;
    int Pos = 0; // 1-based
    int Length = 0;
    QString Text;   // field name or string content
    QVariant Value; // number
    TOp Op = TOp::Eq;
};

struct TOperand
{
    enum TKind { Field, Constant, NullLiteral } Kind = Constant;
    int Pos = 0;
    QString Name;
    QVariant Literal;
    QVariant Bound; // the literal, read as the compared field's kind where that matters
    int FieldIndex = -1;
    TZVFieldKind FieldKind = fkUnknown;
};

struct TNode
{
    enum TKind { And, Or, Not, Compare, Truth } Kind = Truth;
    std::vector<int> Children;
    TOperand Left;
    TOperand Right;
    TOp Op = TOp::Eq;
};

bool isNullValue(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

[[noreturn]] void fail(const QString& what, int pos)
{
    throw EZvError(QLatin1String(kErrorInvalidFilter) + what + QStringLiteral(" AT ") + QString::number(pos));
}

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$';
}

class TTokenizer
{
public:
    explicit TTokenizer(const QString& text) : m_text(text) {}

    // Reads one token at a time, so a huge text never becomes a huge token list.
    TToken Next()
    {
        const int n = static_cast<int>(m_text.size());
        int i = m_at;
        while (i < n && m_text[i].isSpace())
            ++i;
        TToken token;
        token.Pos = i + 1;
        if (i >= n) {
            m_at = i;
            return token;
        }
        const QChar c = m_text[i];
        const int start = i;
        if (c == u'(' || c == u')') {
            token.Kind = c == u'(' ? TTok::LParen : TTok::RParen;
            ++i;
        } else if (c == u'-') {
            token.Kind = TTok::Minus;
            ++i;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            token.Kind = TTok::Op;
            i = readOperator(i, token.Op);
        } else if (c == u'[') {
            token.Kind = TTok::Field;
            i = readBracketName(i, token.Text);
        } else if (c == u'\'') {
            token.Kind = TTok::String;
            i = readString(i, token.Text);
        } else if (c.isDigit()) {
            token.Kind = TTok::Number;
            i = readNumber(i, token.Value);
        } else if (isIdentStart(c)) {
            while (i < n && isIdentPart(m_text[i]))
                ++i;
            token.Text = m_text.mid(start, i - start);
            token.Kind = keyword(token.Text);
        } else {
            fail(QStringLiteral("UNEXPECTED CHARACTER '%1'").arg(c), token.Pos);
        }
        token.Length = i - start;
        m_at = i;
        return token;
    }

private:
    static TTok keyword(const QString& word)
    {
        static const struct
        {
            const char16_t* Word;
            TTok Kind;
        } kKeywords[] = {
            {u"AND", TTok::And},   {u"OR", TTok::Or},       {u"NOT", TTok::Not},
            {u"TRUE", TTok::True}, {u"FALSE", TTok::False}, {u"NULL", TTok::Null},
        };
        for (const auto& k : kKeywords)
            if (word.compare(QStringView(k.Word), Qt::CaseInsensitive) == 0)
                return k.Kind;
        return TTok::Field;
    }

    int readOperator(int i, TOp& op) const
    {
        const QChar c = m_text[i];
        const QChar next = i + 1 < m_text.size() ? m_text[i + 1] : QChar();
        if (c == u'=') {
            op = TOp::Eq;
            return i + 1;
        }
        if (c == u'<' && next == u'>') {
            op = TOp::Ne;
            return i + 2;
        }
        if (next == u'=') {
            op = c == u'<' ? TOp::Le : TOp::Ge;
            return i + 2;
        }
        op = c == u'<' ? TOp::Lt : TOp::Gt;
        return i + 1;
    }

    int readBracketName(int i, QString& name) const
    {
        const int close = static_cast<int>(m_text.indexOf(u']', i + 1));
        if (close < 0)
            fail(QStringLiteral("UNTERMINATED FIELD NAME"), i + 1);
        name = m_text.mid(i + 1, close - i - 1).trimmed();
        if (name.isEmpty())
            fail(QStringLiteral("EMPTY FIELD NAME"), i + 1);
        return close + 1;
    }

    int readString(int i, QString& content) const
    {
        const int n = static_cast<int>(m_text.size());
        for (int j = i + 1; j < n; ++j) {
            if (m_text[j] != u'\'') {
                content += m_text[j];
            } else if (j + 1 < n && m_text[j + 1] == u'\'') {
                content += u'\'';
                ++j;
            } else {
                return j + 1;
            }
        }
        fail(QStringLiteral("UNTERMINATED STRING"), i + 1);
    }

    int readNumber(int i, QVariant& value) const
    {
        const int n = static_cast<int>(m_text.size());
        const int start = i;
        bool integral = true;
        while (i < n && m_text[i].isDigit())
            ++i;
        if (i < n && m_text[i] == u'.') {
            integral = false;
            ++i;
            if (i >= n || !m_text[i].isDigit())
                fail(QStringLiteral("INVALID NUMBER"), start + 1);
            while (i < n && m_text[i].isDigit())
                ++i;
        }
        if (i < n && (m_text[i] == u'e' || m_text[i] == u'E')) {
            integral = false;
            ++i;
            if (i < n && (m_text[i] == u'+' || m_text[i] == u'-'))
                ++i;
            if (i >= n || !m_text[i].isDigit())
                fail(QStringLiteral("INVALID NUMBER"), start + 1);
            while (i < n && m_text[i].isDigit())
                ++i;
        }
        const QString digits = m_text.mid(start, i - start);
        bool ok = false;
        if (integral) {
            const qlonglong v = digits.toLongLong(&ok);
            if (ok) {
                value = v;
                return i;
            }
        }
        const double d = QLocale::c().toDouble(digits, &ok);
        if (!ok)
            fail(QStringLiteral("INVALID NUMBER"), start + 1);
        value = d;
        return i;
    }

    const QString& m_text;
    int m_at = 0;
};

class TParser
{
public:
    TParser(const QString& text, std::vector<TNode>& nodes) : m_text(text), m_tokens(text), m_nodes(nodes)
    {
        m_current = m_tokens.Next();
    }

    // -1 for a blank text.
    int Run()
    {
        if (peek().Kind == TTok::End)
            return -1;
        const int root = parseOr(0);
        if (peek().Kind != TTok::End)
            fail(QStringLiteral("UNEXPECTED %1").arg(quoted(peek())), peek().Pos);
        return root;
    }

private:
    const TToken& peek() const { return m_current; }
    TToken advance()
    {
        TToken token = std::move(m_current);
        m_current = m_tokens.Next();
        return token;
    }

    QString quoted(const TToken& token) const
    {
        return u'\'' + m_text.mid(token.Pos - 1, token.Length) + u'\'';
    }

    static void enter(int depth, int pos)
    {
        if (depth > kMaxFilterDepth)
            fail(QStringLiteral("NESTING TOO DEEP"), pos);
    }

    int add(TNode node)
    {
        m_nodes.push_back(std::move(node));
        return static_cast<int>(m_nodes.size()) - 1;
    }

    // A chain of one operator becomes one node, so long chains cost no depth.
    int parseChain(int depth, TTok separator, TNode::TKind kind)
    {
        const int first = separator == TTok::Or ? parseChain(depth, TTok::And, TNode::And) : parseNot(depth);
        if (peek().Kind != separator)
            return first;
        TNode node;
        node.Kind = kind;
        node.Children.push_back(first);
        while (peek().Kind == separator) {
            advance();
            node.Children.push_back(separator == TTok::Or ? parseChain(depth, TTok::And, TNode::And)
                                                          : parseNot(depth));
        }
        return add(std::move(node));
    }

    int parseOr(int depth) { return parseChain(depth, TTok::Or, TNode::Or); }

    int parseNot(int depth)
    {
        if (peek().Kind != TTok::Not)
            return parsePrimary(depth);
        enter(depth + 1, peek().Pos);
        advance();
        TNode node;
        node.Kind = TNode::Not;
        node.Children.push_back(parseNot(depth + 1));
        return add(std::move(node));
    }

    int parsePrimary(int depth)
    {
        if (peek().Kind == TTok::LParen) {
            enter(depth + 1, peek().Pos);
            advance();
            const int inner = parseOr(depth + 1);
            if (peek().Kind != TTok::RParen)
                fail(QStringLiteral("EXPECTED ')'"), peek().Pos);
            advance();
            return inner;
        }
        TNode node;
        node.Left = parseOperand();
        if (peek().Kind == TTok::Op) {
            const TToken op = advance();
            node.Kind = TNode::Compare;
            node.Op = op.Op;
            node.Right = parseOperand();
            const bool withNull =
                node.Left.Kind == TOperand::NullLiteral || node.Right.Kind == TOperand::NullLiteral;
            if (withNull && node.Op != TOp::Eq && node.Op != TOp::Ne)
                fail(QStringLiteral("NULL NEEDS = OR <>"), op.Pos);
            return add(std::move(node));
        }
        const bool predicate = node.Left.Kind == TOperand::Field ||
                               (node.Left.Kind == TOperand::Constant && node.Left.Literal.typeId() == QMetaType::Bool);
        if (!predicate)
            fail(QStringLiteral("EXPECTED COMPARISON OPERATOR"), peek().Pos);
        node.Kind = TNode::Truth;
        return add(std::move(node));
    }

    TOperand parseOperand()
    {
        const TToken& token = peek();
        TOperand operand;
        operand.Pos = token.Pos;
        switch (token.Kind) {
        case TTok::Field:
            operand.Kind = TOperand::Field;
            operand.Name = token.Text;
            break;
        case TTok::String:
            operand.Literal = token.Text;
            break;
        case TTok::Number:
            operand.Literal = token.Value;
            break;
        case TTok::Minus: {
            advance();
            if (peek().Kind != TTok::Number)
                fail(QStringLiteral("EXPECTED NUMBER"), peek().Pos);
            const QVariant& v = peek().Value;
            // -9223372036854775808 has no positive twin: it stays a double, as do its neighbours.
            operand.Literal = v.typeId() == QMetaType::LongLong ? QVariant(-v.toLongLong()) : QVariant(-v.toDouble());
            break;
        }
        case TTok::True:
        case TTok::False:
            operand.Literal = token.Kind == TTok::True;
            break;
        case TTok::Null:
            operand.Kind = TOperand::NullLiteral;
            break;
        default:
            fail(QStringLiteral("EXPECTED OPERAND"), token.Pos);
        }
        operand.Bound = operand.Literal;
        advance();
        return operand;
    }

    const QString& m_text;
    TTokenizer m_tokens;
    TToken m_current;
    std::vector<TNode>& m_nodes;
};

int sign(qint64 a, qint64 b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

int signDouble(double a, double b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool isNumeric(TZVFieldKind kind)
{
    return IsIntegerKind(kind) || kind == fkFloat;
}

} // namespace

std::optional<int> CompareValues(const QVariant& a, const QVariant& b)
{
    if (isNullValue(a) || isNullValue(b))
        return std::nullopt;
    const TZVFieldKind ka = KindOfType(a.typeId());
    const TZVFieldKind kb = KindOfType(b.typeId());
    const bool unsignedValue = a.typeId() == QMetaType::ULongLong || b.typeId() == QMetaType::ULongLong;
    if (IsIntegerKind(ka) && IsIntegerKind(kb) && !unsignedValue)
        return sign(a.toLongLong(), b.toLongLong());
    if (isNumeric(ka) && isNumeric(kb))
        return signDouble(a.toDouble(), b.toDouble());
    QVariant x;
    QVariant y;
    if (ka == fkBoolean || kb == fkBoolean) {
        if (ConvertToKind(a, fkBoolean, x) && ConvertToKind(b, fkBoolean, y))
            return int(x.toBool()) - int(y.toBool());
    } else if (IsTemporalKind(ka) || IsTemporalKind(kb)) {
        const TZVFieldKind target = ka == fkTime || kb == fkTime ? fkTime : fkDateTime;
        if (ConvertToKind(a, target, x) && ConvertToKind(b, target, y)) {
            if (target == fkTime)
                return sign(x.toTime().msecsSinceStartOfDay(), y.toTime().msecsSinceStartOfDay());
            // Wall-clock order: the time spec of either side does not shift it.
            const QDateTime dx = x.toDateTime();
            const QDateTime dy = y.toDateTime();
            const int byDate = sign(dx.date().toJulianDay(), dy.date().toJulianDay());
            return byDate != 0 ? byDate : sign(dx.time().msecsSinceStartOfDay(), dy.time().msecsSinceStartOfDay());
        }
    } else if (isNumeric(ka) || isNumeric(kb)) {
        if (ConvertToKind(a, fkFloat, x) && ConvertToKind(b, fkFloat, y))
            return signDouble(x.toDouble(), y.toDouble());
    } else if (ka == fkBlob && kb == fkBlob) {
        const int order = a.toByteArray().compare(b.toByteArray());
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    const int order = ValueText(a).compare(ValueText(b), Qt::CaseSensitive);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

struct TZVFilterExpr::TImpl
{
    QString Text;
    std::vector<TNode> Nodes;
    int Root = -1;

    QVariant value(const TOperand& operand, const TValues& valueOf) const
    {
        if (operand.Kind == TOperand::Field)
            return operand.FieldIndex >= 0 ? valueOf(operand.FieldIndex) : QVariant();
        return operand.Bound;
    }

    bool compare(const TNode& node, const TValues& valueOf) const
    {
        const QVariant a = value(node.Left, valueOf);
        const QVariant b = value(node.Right, valueOf);
        if (node.Left.Kind == TOperand::NullLiteral || node.Right.Kind == TOperand::NullLiteral) {
            const bool bothNull = isNullValue(a) && isNullValue(b);
            return node.Op == TOp::Eq ? bothNull : !bothNull;
        }
        const std::optional<int> order = CompareValues(a, b);
        if (!order)
            return node.Op == TOp::Ne && isNullValue(a) != isNullValue(b);
        switch (node.Op) {
        case TOp::Eq:
            return *order == 0;
        case TOp::Ne:
            return *order != 0;
        case TOp::Lt:
            return *order < 0;
        case TOp::Gt:
            return *order > 0;
        case TOp::Le:
            return *order <= 0;
        case TOp::Ge:
            return *order >= 0;
        }
        return false;
    }

    // Depth is bounded by the parser's nesting limit.
    bool eval(int index, const TValues& valueOf) const
    {
        const TNode& node = Nodes[static_cast<size_t>(index)];
        switch (node.Kind) {
        case TNode::And:
            for (const int child : node.Children)
                if (!eval(child, valueOf))
                    return false;
            return true;
        case TNode::Or:
            for (const int child : node.Children)
                if (eval(child, valueOf))
                    return true;
            return false;
        case TNode::Not:
            return !eval(node.Children.front(), valueOf);
        case TNode::Truth: {
            QVariant b;
            return ConvertToKind(value(node.Left, valueOf), fkBoolean, b) && b.isValid() && b.toBool();
        }
        case TNode::Compare:
            return compare(node, valueOf);
        }
        return false;
    }
};

TZVFilterExpr::TZVFilterExpr(const QString& text) : m_impl(std::make_unique<TImpl>())
{
    m_impl->Text = text;
    m_impl->Root = TParser(text, m_impl->Nodes).Run();
}

TZVFilterExpr::~TZVFilterExpr() = default;
TZVFilterExpr::TZVFilterExpr(TZVFilterExpr&&) noexcept = default;
TZVFilterExpr& TZVFilterExpr::operator=(TZVFilterExpr&&) noexcept = default;

const QString& TZVFilterExpr::Text() const
{
    return m_impl->Text;
}

bool TZVFilterExpr::IsEmpty() const
{
    return m_impl->Root < 0;
}

QStringList TZVFilterExpr::FieldNames() const
{
    // Nodes are stored children first; operand positions restore the written order.
    std::vector<std::pair<int, QString>> found;
    for (const TNode& node : m_impl->Nodes)
        for (const TOperand* operand : {&node.Left, &node.Right})
            if ((node.Kind == TNode::Compare || node.Kind == TNode::Truth) && operand->Kind == TOperand::Field)
                found.emplace_back(operand->Pos, operand->Name);
    std::sort(found.begin(), found.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    QStringList names;
    for (const auto& [pos, name] : found)
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    return names;
}

void TZVFilterExpr::Bind(const TResolver& resolve)
{
    for (TNode& node : m_impl->Nodes) {
        if (node.Kind != TNode::Compare && node.Kind != TNode::Truth)
            continue;
        for (TOperand* operand : {&node.Left, &node.Right}) {
            operand->Bound = operand->Literal;
            if (operand->Kind != TOperand::Field)
                continue;
            const std::optional<TFieldRef> ref = resolve(operand->Name);
            if (!ref)
                throw EZvError(QLatin1String(kErrorInvalidFieldName) + operand->Name);
            operand->FieldIndex = ref->Index;
            operand->FieldKind = ref->Kind;
        }
        if (node.Kind != TNode::Compare)
            continue;
        // A text against a date or time field is read once here, so a typo is an error, not a
        // silent comparison of texts.
        for (auto [field, literal] : {std::pair{&node.Left, &node.Right}, std::pair{&node.Right, &node.Left}}) {
            if (field->Kind != TOperand::Field || !IsTemporalKind(field->FieldKind) ||
                literal->Kind != TOperand::Constant || literal->Literal.typeId() != QMetaType::QString)
                continue;
            if (!ConvertToKind(literal->Literal, field->FieldKind, literal->Bound)) {
                const QString what = field->FieldKind == fkTime ? QStringLiteral("INVALID TIME '%1'")
                                                                : QStringLiteral("INVALID DATE '%1'");
                fail(what.arg(literal->Literal.toString()), literal->Pos);
            }
        }
    }
}

bool TZVFilterExpr::Matches(const TValues& valueOf) const
{
    return m_impl->Root < 0 || m_impl->eval(m_impl->Root, valueOf);
}

} // namespace zorvel
