// The label's content from data: its counters and quantity field, and the values templates read.
#include "document/ZVRunValues.h"

#include "document/ZVCustomLab.h"
#include "document/ZVDisplayFormat.h"
#include "document/ZVElement.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVStreamVisitors.h"
#include "document/ZVQuestion.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"

#include <QScopeGuard>

namespace zorvel {
namespace {

const TZVCounter* counterNamed(const TZVCustomLab& label, const QString& name)
{
    for (const TZVCounter& counter : label.Counters())
        if (counter.Name.compare(name, Qt::CaseInsensitive) == 0) return &counter;
    return nullptr;
}

} // namespace

void TZVRunValues::Begin(const QDateTime& jobStart, const QHash<QString, std::int64_t>& counterStarts)
{
    m_jobStart = jobStart;
    m_counterStarts = counterStarts;
    m_position = {};
}

QString TZVRunValues::Field(const QString& name, const QString& format) const
{
    const TZVDataSet* data = m_fields ? m_fields : m_label.DataSet();
    if (!data) throw EZvError(QString::fromLatin1(kErrorInvalidFieldName) + name);
    return FieldDisplayText(*data, name, format, false);
}

QString TZVRunValues::Counter(const QString& name) const
{
    const TZVCounter* counter = counterNamed(m_label, name);
    if (!counter) throw EZvError(QStringLiteral("UNKNOWN COUNTER : ") + name);
    const std::int64_t unit = counter->Per == cpRecord ? m_position.RecordInRun
                              : counter->Per == cpPage ? m_position.Page
                                                       : m_position.Label;
    const std::int64_t start =
        m_counterStarts.value(counter->Name.toUpper(), CounterRunStart(*counter, m_jobStart.date()));
    return FormatCounter(*counter, CounterValue(*counter, start, unit - 1));
}

QString TZVRunValues::Answer(const QString& id) const
{
    for (TZVElement* element : m_label.Elements())
        if (TZVQuestion* question = element->AsQuestion(); question && element->ID().compare(id, Qt::CaseInsensitive) == 0)
            return question->Answer();
    return {};
}

QHash<QString, std::int64_t> CounterSteps(const TZVCustomLab& label, std::int64_t labels, std::int64_t records,
                                          std::int64_t pages)
{
    QHash<QString, std::int64_t> steps;
    for (const TZVCounter& counter : label.Counters())
        steps.insert(counter.Name.toUpper(), counter.Per == cpRecord ? records : counter.Per == cpPage ? pages : labels);
    return steps;
}

// ---- The label's side ----

void TZVCustomLab::VisitContentFields(TZVFieldVisitor& visitor)
{
    // Smallest counter record: name, alphabet and date as empty strings, two i64, digits, two bytes.
    constexpr int kMinCounterBytes = 3 * 4 + 2 * 8 + 4 + 2;
    if (visitor.Reading()) {
        m_counters.clear();
        m_quantityField.clear();
    }
    if (visitor.Version() < kContentVersion) return;
    visitor.Records("Counters", static_cast<int>(m_counters.size()),
                    [this](int count) { m_counters.resize(count); },
                    [&](int i) { m_counters[i].VisitFields(visitor); }, kMinCounterBytes);
    visitor.WStr("QuantityField", m_quantityField);
    if (!visitor.Reading()) return;
    if (const QString problem = CountersProblem(m_counters); !problem.isEmpty()) {
        m_counters.clear();
        throw EZvError(problem);
    }
}

bool TZVCustomLab::UsesContentFields() const
{
    return !m_counters.isEmpty() || !m_quantityField.isEmpty();
}

void TZVCustomLab::SetCounters(const QList<TZVCounter>& counters)
{
    if (const QString problem = CountersProblem(counters); !problem.isEmpty()) throw EZvError(problem);
    if (counters == m_counters) return;
    m_counters = counters;
    SetModified(true);
}

void TZVCustomLab::SetQuantityField(const QString& field)
{
    if (field == m_quantityField) return;
    m_quantityField = field;
    SetModified(true);
}

const TZVTemplateValues& TZVCustomLab::TemplateValues() const
{
    return *m_runValues;
}

QString TZVCustomLab::ExpandTemplate(const TZVTemplate& text, const TZVDataSet* fields) const
{
    m_runValues->SetFields(fields);
    const auto back = qScopeGuard([this] { m_runValues->SetFields(nullptr); });
    return text.Expand(*m_runValues);
}

void TZVCustomLab::SetShowData(bool value)
{
    if (value == m_showData) return;
    m_showData = value;
    NotifyChange(ckLayers, 0, QStringLiteral("ShowData"));
}

} // namespace zorvel
