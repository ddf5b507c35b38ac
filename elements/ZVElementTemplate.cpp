// The Template property of texts, bar codes and table columns: setting, stream fields and content.
#include "elements/ZVElementTemplate.h"

#include "document/ZVCustomLab.h"
#include "document/ZVElement.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVPrintInfo.h"
#include "document/ZVStreamVisitors.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"

namespace zorvel {

bool TZVElementTemplate::Set(const QString& text)
{
    if (text == m_parsed.Text()) return false;
    m_parsed = TZVTemplate(text);
    return true;
}

std::optional<QString> TZVElementTemplate::Content(const TZVCustomLab& label, int target,
                                                   const TZVTemplateValues* values) const
{
    if (m_parsed.IsEmpty()) return std::nullopt;
    const auto expanded = [&] { return values ? m_parsed.Expand(*values) : label.ExpandTemplate(m_parsed); };
    if (target != ptEditor) return expanded();
    const TZVDataSet* data = label.DataSet();
    if (!label.ShowData() || !data || !data->Active()) return m_parsed.Text();
    // The designer keeps drawing while a template names a field the record lacks.
    try {
        return expanded();
    } catch (const EZvError&) {
        return m_parsed.Text();
    }
}

void TZVElementTemplate::VisitFields(TZVFieldVisitor& visitor)
{
    if (visitor.Version() < kContentVersion) return;
    QString text = m_parsed.Text();
    visitor.WStr("Template", text);
    if (!visitor.Reading() || text == m_parsed.Text()) return;
    try {
        m_parsed = TZVTemplate(text);
    } catch (const EZvError& refused) {
        visitor.Refuse("Template", refused.message());
    }
}

std::int32_t TZVElementTemplate::StreamVersionNeeded() const
{
    return m_parsed.IsEmpty() ? 0 : kContentVersion;
}

bool RunPrintsRecords(const TZVCustomLab& label)
{
    return label.PrintInfo().DataMode == 1;
}

} // namespace zorvel
