// Inspector settings, geometry, scrolling, row selection and the delayed repaint of the label.
#include "inspector/ZVInspector.h"

#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "document/ZVElement.h"
#include "foundation/ZVStrings.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMetaEnum>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace zorvel {

namespace {

constexpr int kMinRowHeight = 26;
constexpr int kSplitMargin = 30;
constexpr int kMaxTimeRefresh = 2000; // ms

// Looked up per element: a subclass may publish the property again with its own setter.
void writeElement(TZVElement& element, const QByteArray& name, const QVariant& value)
{
    const QMetaObject* cls = element.metaObject();
    const QMetaProperty property = cls->property(cls->indexOfProperty(name.constData()));
    if (property.isWritable()) property.write(&element, value);
}

} // namespace

TZVCustomInspector::TZVCustomInspector(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    resize(225, 200);
    m_color = palette().color(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
    m_refreshTimer.setSingleShot(true);
    connect(&m_refreshTimer, &QTimer::timeout, this, [this] {
        if (Editor()) Editor()->EndUpdate(false);
    });
    connectGuarded(m_syncingScrollBar, verticalScrollBar(), &QScrollBar::valueChanged, this,
                   [this](int value) { scrollBarMoved(value); });
}

TZVCustomInspector::~TZVCustomInspector()
{
    // A pending repaint would leave the editor in its BeginUpdate state for good.
    flushRepaint();
    // The in-place editor goes with the children, after this body: its last signals are no edits.
    m_filling.holdForGood();
}

TZVCustomLab* TZVCustomInspector::label() const
{
    return Editor() ? Editor()->Zorvel() : nullptr;
}

bool TZVCustomInspector::unicodeDialogAllowed() const
{
    const TZVCustomLab* lab = label();
    return lab && lab->UseUnicodeEditor() && m_showUnicodeEditor;
}

// ---- Settings ----

void TZVCustomInspector::SetSplitPos(int value)
{
    value = std::max(std::min(value, ClientWidth() - kSplitMargin), kSplitMargin);
    m_splitPos = value;
    viewport()->update();
}

void TZVCustomInspector::SetTimeRefresh(int value)
{
    if (value == m_timeRefresh) return;
    m_timeRefresh = std::clamp(value, 0, kMaxTimeRefresh);
    flushRepaint();
    m_refreshTimer.setInterval(m_timeRefresh);
}

void TZVCustomInspector::SetBorderStyle(TBorderStyle value)
{
    if (value == m_borderStyle) return;
    m_borderStyle = value;
    setFrameStyle(value == bsSingle ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

void TZVCustomInspector::SetColor(const QColor& value)
{
    if (value == m_color) return;
    m_color = value;
    viewport()->update();
}

void TZVCustomInspector::Loaded()
{
    m_loading = false;
    updateScrollBar();
    viewport()->update();
}

// ---- Geometry ----

int TZVCustomInspector::RowHeight() const
{
    if (m_rowHeight < kMinRowHeight)
        m_rowHeight = std::max(QFontMetrics(font()).height() + 3, kMinRowHeight);
    return m_rowHeight;
}

int TZVCustomInspector::VisibleRows() const
{
    return ClientHeight() / RowHeight();
}

int TZVCustomInspector::MaxTop() const
{
    const int rows = int(m_rows.size());
    const int visible = VisibleRows();
    return rows < visible ? 0 : rows - visible + 1;
}

int TZVCustomInspector::ClientWidth() const
{
    // Forms set SplitPos while hidden, before the scroll area has laid out its viewport.
    if (testAttribute(Qt::WA_PendingResizeEvent)) return maximumViewportSize().width();
    return viewport()->width();
}

int TZVCustomInspector::ClientHeight() const
{
    if (testAttribute(Qt::WA_PendingResizeEvent)) return maximumViewportSize().height();
    return viewport()->height();
}

QRect TZVCustomInspector::NameCell(int row) const
{
    const int h = RowHeight();
    const int top = (row - m_topRow) * h;
    return {0, top, m_splitPos - 2, h};
}

QRect TZVCustomInspector::ValueCell(int row) const
{
    const int h = RowHeight();
    const int top = (row - m_topRow) * h;
    return {m_splitPos + 2, top, ClientWidth() - m_splitPos - 2, h - 1};
}

void TZVCustomInspector::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
    SetSplitPos(m_splitPos);
    placeInplace();
}

void TZVCustomInspector::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_rowHeight = -1;
        updateScrollBar();
        placeInplace();
        viewport()->update();
    }
}

// ---- Scrolling ----

void TZVCustomInspector::updateScrollBar()
{
    if (m_loading) return;
    const int maxTop = MaxTop();
    m_topRow = std::clamp(m_topRow, 0, maxTop);
    QScrollBar* bar = verticalScrollBar();
    {
        const auto syncing = m_syncingScrollBar.hold();
        bar->setRange(0, maxTop);
        // The thumb covers the share of rows in view; stepping a page moves by the rows in view.
        bar->setPageStep(maxTop <= 0 ? 0 : std::max(1, VisibleRows()));
        bar->setSingleStep(1);
        bar->setValue(m_topRow);
    }
    m_topRow = bar->value();
}

void TZVCustomInspector::scrollBarMoved(int value)
{
    m_topRow = value;
    destroyInplace();
    updateScrollBar();
    viewport()->update();
}

void TZVCustomInspector::scrollContentsBy(int, int)
{
    // The rows are painted from TopRow; nothing is moved on the screen.
}

void TZVCustomInspector::scrollIntoView()
{
    const int visible = VisibleRows();
    if (m_itemIndex > m_topRow && m_itemIndex > m_topRow + visible - 2) m_topRow = m_itemIndex - visible + 2;
    if (m_itemIndex < m_topRow) m_topRow = m_itemIndex;
    if (m_topRow < 0) {
        m_topRow = 0;
        SelectRow(0);
    }
    // The editor was placed for the old TopRow.
    placeInplace();
}

// ---- Selection ----

void TZVCustomInspector::SelectRow(int index)
{
    const int rows = int(m_rows.size());
    index = index >= rows ? rows - 1 : std::max(index, 0);
    if (index == m_itemIndex) return;
    m_itemIndex = index;
    destroyInplace();
    createInplace();
    viewport()->update(); // the highlight moves
}

// ---- Writing to the selection ----

void TZVCustomInspector::delayedRepaint()
{
    if (!Editor()) return;
    if (m_timeRefresh <= 0)
        Editor()->EndUpdate(false);
    else if (!m_refreshTimer.isActive())
        m_refreshTimer.start(m_timeRefresh);
}

void TZVCustomInspector::flushRepaint()
{
    if (!m_refreshTimer.isActive()) return;
    m_refreshTimer.stop();
    if (Editor()) Editor()->EndUpdate(false);
}

std::optional<TZVChangeScope> TZVCustomInspector::changeScope(const QString& name, bool typed) const
{
    TZVCustomLab* lab = label();
    if (!lab) return std::nullopt;
    const QString mergeKey =
        typed ? QStringLiteral("inspector %1 %2").arg(quintptr(this)).arg(m_editSerial) : QString();
    return std::optional<TZVChangeScope>(std::in_place, *lab, QStringLiteral("Edit %1").arg(name), mergeKey);
}

bool TZVCustomInspector::writeAll(const QString& propertyName, const QVariant& value)
{
    TZVCustomEditor* editor = Editor();
    if (!editor) return false;
    // A value one element cannot honour is written to none, and the label's host says why.
    for (int i = 1; i <= editor->SelCount(); ++i) {
        const TZVElement* element = editor->SelectedAt(i);
        const QString refused = element ? element->PropertyRefusal(propertyName, value) : QString();
        if (refused.isEmpty()) continue;
        if (TZVCustomLab* lab = label()) fire(lab->OnMessage, lab, refused);
        return false;
    }
    const QByteArray name = propertyName.toLatin1();
    for (int i = 1; i <= editor->SelCount(); ++i)
        if (TZVElement* element = editor->SelectedAt(i)) writeElement(*element, name, value);
    return true;
}

void TZVCustomInspector::writeRow(int index, const QVariant& value)
{
    const QString name = m_rows[index].Name;
    if (!writeAll(name, value)) return;
    if (index < m_rows.size() && m_rows[index].Name == name) m_rows[index].Value = value;
}

void TZVCustomInspector::CommitWideText(const QString& name, const QString& text)
{
    const int index = FindRow(name);
    TZVCustomEditor* editor = Editor();
    if (index < 0 || !editor || editor->SelCount() == 0) return;
    if (m_rows[index].Value.toString() == text) return;
    const auto scope = changeScope(name, true);
    editor->BeginUpdate();
    writeRow(index, text);
    delayedRepaint();
    viewport()->update();
}

TZVCustomInspector::TZVSavedTexts TZVCustomInspector::selectedTexts(const QString& name) const
{
    TZVSavedTexts texts;
    TZVCustomEditor* editor = Editor();
    if (!editor) return texts;
    const QByteArray property = name.toLatin1();
    for (int i = 1; i <= editor->SelCount(); ++i)
        if (TZVElement* element = editor->SelectedAt(i))
            texts.append({element, element->property(property.constData()).toString()});
    return texts;
}

void TZVCustomInspector::restoreTexts(const QString& name, const TZVSavedTexts& texts)
{
    TZVCustomEditor* editor = Editor();
    if (!editor) return;
    const QByteArray property = name.toLatin1();
    bool written = false;
    for (const auto& [element, text] : texts) {
        if (!element || element->property(property.constData()).toString() == text) continue;
        if (!written) editor->BeginUpdate();
        written = true;
        writeElement(*element, property, text);
    }
    // The row shows the first element's text again.
    if (const int index = FindRow(name); index >= 0 && !texts.isEmpty() && texts.first().first)
        m_rows[index].Value = texts.first().first->property(property.constData()).toString();
    if (written) delayedRepaint();
    viewport()->update();
}

// ---- Value text ----

QString TZVCustomInspector::valueText(const TZvProp& row) const
{
    switch (row.Kind) {
    case pkBoolean:
        return row.Value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case pkEnum:
    case pkTextAlign:
    case pkTextFormat:
    case pkEleAlign:
        return QString::fromLatin1(row.TypeInfo.enumerator().valueToKey(row.Value.toInt()));
    case pkFloat: {
        static const char* const kSuffix[] = {" mm", " inch", " cm"};
        const TZVCustomLab* lab = label();
        const int units = lab ? int(lab->Units()) : int(unMM);
        return FormatInspectorNumber(row.Value.toDouble(), QString::fromLatin1(kSuffix[std::clamp(units, 0, 2)]));
    }
    case pkRatio:
    case pkFactor:
        return FormatInspectorNumber(row.Value.toDouble());
    case pkChar:
        return QString(QChar(char16_t(row.Value.toInt())));
    case pkColor:
        return QStringLiteral("$%1").arg(row.Value.toUInt(), 8, 16, QLatin1Char('0')).toUpper();
    default:
        return row.Value.toString();
    }
}

// ---- TZVInspector: captions and settings ----

TZVInspector::TZVInspector(QWidget* parent)
    : TZVCustomInspector(parent)
{
    LabelChanged();
}

void TZVInspector::SetLanguage(TZVLanguage value)
{
    if (value == m_language) return;
    m_language = value;
    viewport()->update();
}

void TZVInspector::SetNamesColor(const QColor& value)
{
    if (value == m_namesColor) return;
    m_namesColor = value;
    viewport()->update();
}

void TZVInspector::SetValuesColor(const QColor& value)
{
    if (value == m_valuesColor) return;
    m_valuesColor = value;
    viewport()->update();
}

void TZVInspector::SetNameAlign(TNameAlign value)
{
    if (value == m_nameAlign) return;
    m_nameAlign = value;
    viewport()->update();
}

void TZVInspector::SetIniTranslate(const QString& value)
{
    m_iniTranslate = value;
    LabelChanged();
    viewport()->update();
}

void TZVInspector::LabelChanged()
{
    m_translationLoaded = LoadCustomCaptions(m_iniTranslate);
}

QString TZVInspector::Caption(const QString& name) const
{
    return PropertyCaption(name, m_language, m_translationLoaded);
}

} // namespace zorvel
