// Parsing templates into parts, refusing malformed ones with where they go wrong, and filling them.
#include "document/ZVTemplate.h"

#include "foundation/ZVError.h"

#include <QRegularExpression>

#include <optional>

namespace zorvel {
namespace {

struct Refusal
{
    qsizetype At; // 1-based character
    QString Reason;
};

QString refusalText(const Refusal& r)
{
    return QStringLiteral("INVALID TEMPLATE AT %1 : %2").arg(r.At).arg(r.Reason);
}

// {DATE}, {DATE+30d}, {DATE-1m:dd.MM.yyyy}; the format may hold colons of its own.
const QRegularExpression& dateSyntax()
{
    static const QRegularExpression re(QStringLiteral(R"(^(DATE|TIME)(?:([+-])(\d{1,5})([dwmy]))?(?::(.*))?$)"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    return re;
}

// Names of fields, counters and questions: no braces, no leading or trailing blanks.
bool plainName(const QString& name)
{
    return !name.isEmpty() && name.trimmed() == name;
}

std::optional<Refusal> parsePlaceholder(const QString& body, qsizetype at, TZVTemplatePart& part)
{
    const auto unknown = [&] { return Refusal{at, QStringLiteral("UNKNOWN PLACEHOLDER {%1}").arg(body)}; };
    if (body.isEmpty()) return Refusal{at, QStringLiteral("EMPTY PLACEHOLDER {}")};
    if (body.startsWith(u'#')) {
        part.PartKind = TZVTemplatePart::Counter;
        part.Text = body.mid(1);
        if (!plainName(part.Text) || part.Text.contains(u':')) return unknown();
        return std::nullopt;
    }
    if (const auto m = dateSyntax().match(body); m.hasMatch()) {
        const bool time = m.captured(1).compare(QLatin1String("TIME"), Qt::CaseInsensitive) == 0;
        part.PartKind = time ? TZVTemplatePart::Time : TZVTemplatePart::Date;
        if (m.hasCaptured(3) && !m.captured(3).isEmpty()) {
            if (time) return unknown();
            part.Offset = m.captured(3).toInt() * (m.captured(2) == u"-" ? -1 : 1);
            part.OffsetUnit = m.captured(4).toLower().at(0).toLatin1();
        }
        part.Format = m.captured(5);
        if (m.hasCaptured(5) && part.Format.isEmpty()) return unknown();
        return std::nullopt;
    }
    // A date with an offset it cannot read is no field of that name.
    static const QRegularExpression dateLike(QStringLiteral("^(DATE|TIME)[+-]"), QRegularExpression::CaseInsensitiveOption);
    if (dateLike.match(body).hasMatch()) return unknown();
    const qsizetype colon = body.indexOf(u':');
    const QString head = colon < 0 ? body : body.left(colon);
    const QString tail = colon < 0 ? QString() : body.mid(colon + 1);
    static const struct
    {
        const char* Name;
        TZVTemplatePart::Kind Kind;
    } numbers[] = {{"PAGE", TZVTemplatePart::Page},
                   {"LABEL", TZVTemplatePart::Label},
                   {"RECORD", TZVTemplatePart::Record},
                   {"COPY", TZVTemplatePart::Copy}};
    for (const auto& n : numbers) {
        if (head.compare(QLatin1String(n.Name), Qt::CaseInsensitive) != 0) continue;
        if (colon >= 0) return unknown();
        part.PartKind = n.Kind;
        return std::nullopt;
    }
    if (head.compare(QLatin1String("ANSWER"), Qt::CaseInsensitive) == 0) {
        part.PartKind = TZVTemplatePart::Answer;
        part.Text = tail;
        if (!plainName(tail)) return unknown();
        return std::nullopt;
    }
    part.PartKind = TZVTemplatePart::Field;
    part.Text = head;
    if (!plainName(head)) return unknown();
    if (colon >= 0) {
        if (tail.isEmpty()) return unknown();
        if (tail.compare(QLatin1String("gs1check"), Qt::CaseInsensitive) == 0)
            part.Gs1Check = true;
        else
            part.Format = tail;
    }
    return std::nullopt;
}

std::optional<Refusal> parse(const QString& text, std::vector<TZVTemplatePart>& parts)
{
    QString literal;
    const auto flush = [&] {
        if (literal.isEmpty()) return;
        parts.push_back({TZVTemplatePart::Literal, literal});
        literal.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool doubled = i + 1 < text.size() && text[i + 1] == c;
        if (c == u'}') {
            if (!doubled) return Refusal{i + 1, QStringLiteral("} WITHOUT {")};
            literal += c;
            ++i;
            continue;
        }
        if (c != u'{') {
            literal += c;
            continue;
        }
        if (doubled) {
            literal += c;
            ++i;
            continue;
        }
        const qsizetype close = text.indexOf(u'}', i + 1);
        const qsizetype nested = text.indexOf(u'{', i + 1);
        if (close < 0 || (nested >= 0 && nested < close)) return Refusal{i + 1, QStringLiteral("{ WITHOUT }")};
        TZVTemplatePart part;
        if (auto refused = parsePlaceholder(text.mid(i + 1, close - i - 1), i + 1, part)) return refused;
        flush();
        parts.push_back(std::move(part));
        i = close;
    }
    flush();
    return std::nullopt;
}

QDateTime shifted(const QDateTime& start, const TZVTemplatePart& part)
{
    switch (part.OffsetUnit) {
    case 'w':
        return start.addDays(7LL * part.Offset);
    case 'm':
        return start.addMonths(part.Offset);
    case 'y':
        return start.addYears(part.Offset);
    default:
        return start.addDays(part.Offset);
    }
}

QString filled(const TZVTemplatePart& part, const TZVTemplateValues& values)
{
    switch (part.PartKind) {
    case TZVTemplatePart::Literal:
        return part.Text;
    case TZVTemplatePart::Field: {
        const QString value = values.Field(part.Text, part.Format);
        return part.Gs1Check ? AppendGs1CheckDigit(value) : value;
    }
    case TZVTemplatePart::Counter:
        return values.Counter(part.Text);
    case TZVTemplatePart::Date: {
        const QDateTime when = shifted(values.JobStart(), part);
        return part.Format.isEmpty() ? when.date().toString(Qt::ISODate) : when.toString(part.Format);
    }
    case TZVTemplatePart::Time: {
        const QDateTime when = values.JobStart();
        return part.Format.isEmpty() ? when.time().toString(QStringLiteral("HH:mm:ss")) : when.toString(part.Format);
    }
    case TZVTemplatePart::Page:
        return QString::number(values.Page());
    case TZVTemplatePart::Label:
        return QString::number(values.Label());
    case TZVTemplatePart::Record:
        return QString::number(values.Record());
    case TZVTemplatePart::Copy:
        return QString::number(values.Copy());
    case TZVTemplatePart::Answer:
        return values.Answer(part.Text);
    }
    return {};
}

QStringList namesOf(const std::vector<TZVTemplatePart>& parts, TZVTemplatePart::Kind kind)
{
    QStringList names;
    for (const TZVTemplatePart& part : parts)
        if (part.PartKind == kind && !names.contains(part.Text, Qt::CaseInsensitive)) names << part.Text;
    return names;
}

} // namespace

TZVTemplate::TZVTemplate(const QString& text) : m_text(text)
{
    if (auto refused = parse(text, m_parts)) throw EZvError(refusalText(*refused));
}

QString TZVTemplate::Problem(const QString& text)
{
    std::vector<TZVTemplatePart> parts;
    const auto refused = parse(text, parts);
    return refused ? refusalText(*refused) : QString();
}

QString TZVTemplate::Expand(const TZVTemplateValues& values) const
{
    QString out;
    for (const TZVTemplatePart& part : m_parts) out += filled(part, values);
    return out;
}

QStringList TZVTemplate::FieldNames() const
{
    return namesOf(m_parts, TZVTemplatePart::Field);
}

QStringList TZVTemplate::CounterNames() const
{
    return namesOf(m_parts, TZVTemplatePart::Counter);
}

QString AppendGs1CheckDigit(const QString& digits)
{
    static const QRegularExpression allDigits(QStringLiteral("^[0-9]{1,17}$"));
    if (!allDigits.match(digits).hasMatch())
        throw EZvError(QStringLiteral("GS1 CHECK DIGIT NEEDS DIGITS : ") + digits);
    // Weights 3 and 1 alternate from the rightmost digit.
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += (digits[i].unicode() - u'0') * weight;
        weight = 4 - weight;
    }
    return digits + QChar(u'0' + (10 - sum % 10) % 10);
}

} // namespace zorvel
