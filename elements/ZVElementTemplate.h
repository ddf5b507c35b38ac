// The Template property of texts, bar codes and table columns: its text, its parse and its content.
#pragma once

#include "document/ZVTemplate.h"
#include "zorvel_core_export.h"

#include <cstdint>
#include <optional>

namespace zorvel {

class TZVCustomLab;
class TZVFieldVisitor;

/// An element's template, kept parsed next to its text so that a run never parses it per label.
/// While it is not empty it takes the place of the element's own content and of its bound field.
class ZORVEL_CORE_EXPORT TZVElementTemplate
{
public:
    /// The template as written; empty when there is none.
    const QString& Text() const { return m_parsed.Text(); }
    /// True when there is no template.
    bool IsEmpty() const { return m_parsed.IsEmpty(); }
    /// The parsed template.
    const TZVTemplate& Parsed() const { return m_parsed; }
    /// Takes `text`; raises EZvError with TZVTemplate::Problem's message and keeps the old one for
    /// a malformed template. True when the template changed.
    bool Set(const QString& text);

    /// What the element shows on `target` (TZVPaintTarget) instead of its own content; nullopt
    /// without a template. A label (any target but the editor surface) gets the expansion, which
    /// raises as the values do (a field the data lacks); the editor surface shows the template as
    /// written, or while the label shows data from an open data set the expansion for its current
    /// record (the template as written when that cannot be filled). `values` fills the
    /// placeholders; null: the label's own, whose fields are the master's.
    std::optional<QString> Content(const TZVCustomLab& label, int target,
                                   const TZVTemplateValues* values = nullptr) const;

    /// The template under the key "Template", in the content layout and newer only; a reader
    /// refuses a malformed one through TZVFieldVisitor::Refuse.
    void VisitFields(TZVFieldVisitor& visitor);
    /// The content layout while there is a template, else 0.
    std::int32_t StreamVersionNeeded() const;

private:
    TZVTemplate m_parsed;
};

/// Whether the print run under way prints records (its data mode is 1), so that what an element
/// prints reads its bound field.
ZORVEL_CORE_EXPORT bool RunPrintsRecords(const TZVCustomLab& label);

} // namespace zorvel
