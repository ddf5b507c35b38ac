// One-line edit box whose text is drawn left-aligned, right-aligned or centred.
#pragma once

#include "zorvel_widgets_export.h"

#include <QLineEdit>

namespace zorvel {

/// One-line box whose text is drawn left-aligned, right-aligned or centred.
class ZORVEL_WIDGETS_EXPORT TZvAlignEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    /// Where the text sits across the box.
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    /// An empty, centred box.
    explicit TZvAlignEdit(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZvAlignEdit)

    /// Centred unless set otherwise.
    TAlignment Alignment() const { return m_alignment; }
    /// Sets Alignment; the text is always centred vertically.
    void SetAlignment(TAlignment value);
    /// Copies Alignment from another TZvAlignEdit; false for any other source.
    bool Assign(const QObject* source);

private:
    TAlignment m_alignment = taCenter;
};

} // namespace zorvel
