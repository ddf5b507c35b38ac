// Inspector in-place editors: text box, wide-text box, spin box and drop-down list, and their commits.
#include "inspector/ZVInspector.h"

#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "document/ZVElement.h"
#include "elements/ZVImage.h"
#include "elements/ZVSymbologies.h"
#include "elements/ZVSymbol.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMetaEnum>

namespace zorvel {

namespace {

const QStringList& angleItems()
{
    static const QStringList items{QStringLiteral("0"), QStringLiteral("90"), QStringLiteral("180"),
                                   QStringLiteral("270")};
    return items;
}

} // namespace

TZVInplaceList::TZVInplaceList(TZVCustomInspector* inspector, QWidget* parent)
    : QComboBox(parent), m_inspector(inspector)
{
}

TZVInplaceEdit::TZVInplaceEdit(TZVCustomInspector* inspector, QWidget* parent)
    : QLineEdit(parent), m_inspector(inspector)
{
}

TZVInplaceWEdit::TZVInplaceWEdit(TZVCustomInspector* inspector, QWidget* parent)
    : TZVWideEdit(parent), m_inspector(inspector)
{
    SetBorderStyle(bsNone);
    SetColor(palette().color(QPalette::Base));
}

TZVInplaceFloat::TZVInplaceFloat(TZVCustomInspector* inspector, QWidget* parent)
    : TZvSpinEditFloat(parent), m_inspector(inspector)
{
}

// ---- Life of the in-place editor ----

void TZVCustomInspector::createInplace()
{
    if (m_itemIndex < 0 || m_itemIndex >= m_rows.size()) return;
    const TZvProp& row = m_rows[m_itemIndex];
    const TZVCustomLab* lab = label();
    QWidget* editor = nullptr;
    switch (row.Kind) {
    case pkString:
    case pkInteger:
        editor = makeTextBox(row);
        break;
    case pkWideText:
        editor = lab && lab->UseUnicodeEditor() ? makeWideBox(row) : makeTextBox(row);
        break;
    case pkFloat:
    case pkRatio:
    case pkFactor:
    case pkCount:
        editor = makeSpinBox(row);
        break;
    case pkEnum:
    case pkFontName:
    case pkFieldName:
    case pkAngle:
        editor = makeList(row);
        break;
    default:
        return;
    }
    m_inplace = editor;
    ++m_editSerial;
    {
        // Filling, showing and focusing report changes that are not edits.
        const auto filling = m_filling.hold();
        fillInplace();
        editor->installEventFilter(this);
        if (auto* list = qobject_cast<QComboBox*>(editor); list && list->lineEdit())
            list->lineEdit()->installEventFilter(this);
        placeInplace();
        editor->show();
        editor->setFocus(Qt::OtherFocusReason);
    }
    if (auto* list = qobject_cast<QComboBox*>(editor); list && m_dropDownOnSelect) list->showPopup();
}

void TZVCustomInspector::destroyInplace()
{
    if (!m_inplace) return;
    QWidget* editor = m_inplace;
    m_inplace = nullptr;
    const bool hadFocus = editor->isAncestorOf(QApplication::focusWidget()) || editor->hasFocus();
    {
        const auto filling = m_filling.hold();
        // Leaving the box would reformat it and report a change: cut every path back to here.
        disconnect(editor, nullptr, this, nullptr);
        if (auto* spin = qobject_cast<TZvSpinEditFloat*>(editor)) spin->OnChange = nullptr;
        if (auto* wide = qobject_cast<TZVWideEdit*>(editor)) wide->OnChange = nullptr;
        editor->hide();
        // Later: this may run inside one of the editor's own change handlers.
        editor->deleteLater();
    }
    if (hadFocus) setFocus(Qt::OtherFocusReason);
}

void TZVCustomInspector::placeInplace()
{
    if (!m_inplace || m_itemIndex < 0) return;
    QRect cell = ValueCell(m_itemIndex);
    if (qobject_cast<QLineEdit*>(m_inplace) && !qobject_cast<TZvSpinEditFloat*>(m_inplace))
        cell.setHeight(cell.height() - 1);
    m_inplace->setGeometry(cell);
}

void TZVCustomInspector::fillInplace()
{
    if (!m_inplace || m_itemIndex < 0) return;
    const TZvProp& row = m_rows[m_itemIndex];
    const auto filling = m_filling.hold();
    if (auto* wide = qobject_cast<TZVWideEdit*>(m_inplace)) {
        wide->SetText(row.Value.toString());
    } else if (auto* spin = qobject_cast<TZvSpinEditFloat*>(m_inplace)) {
        if (spin->Digits() == 0)
            spin->SetAsInteger(row.Value.toInt());
        else
            spin->SetValue(row.Value.toDouble());
    } else if (auto* edit = qobject_cast<QLineEdit*>(m_inplace)) {
        edit->setText(row.Value.toString());
    } else if (auto* list = qobject_cast<QComboBox*>(m_inplace)) {
        if (row.Kind == pkEnum) {
            const QMetaEnum type = row.TypeInfo.enumerator();
            int at = -1;
            for (int i = 0; i < type.keyCount() && at < 0; ++i)
                if (type.value(i) == row.Value.toInt()) at = i;
            list->setCurrentIndex(at);
        } else {
            const QString text = row.Value.toString();
            list->setCurrentIndex(list->findText(text));
            // A value missing from the list (a font not installed) still shows.
            if (list->isEditable() && list->currentIndex() < 0) list->setEditText(text);
        }
    }
}

// ---- The four editors ----

QWidget* TZVCustomInspector::makeTextBox(const TZvProp&)
{
    auto* edit = new TZVInplaceEdit(this, viewport());
    edit->setFont(QFont(m_textFontName));
    edit->setFrame(false);
    connectGuarded(m_filling, edit, &QLineEdit::textChanged, this,
                   [this](const QString& text) { commitText(text); });
    return edit;
}

QWidget* TZVCustomInspector::makeWideBox(const TZvProp& row)
{
    auto* edit = new TZVInplaceWEdit(this, viewport());
    edit->setFont(QFont(m_textFontName));
    const QString name = row.Name;
    edit->OnChange = m_filling.guarded([this, edit, name](QObject*) { CommitWideText(name, edit->Text()); });
    return edit;
}

QWidget* TZVCustomInspector::makeSpinBox(const TZvProp& row)
{
    auto* spin = new TZVInplaceFloat(this, viewport());
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(9);
    spin->setFont(font);
    if (row.Kind == pkCount) {
        spin->SetDigits(0);
        spin->SetIncrement(1);
    } else if (row.Kind == pkRatio) {
        spin->SetMinValue(0);
        spin->SetMaxValue(6);
        spin->SetIncrement(0.01);
    } else if (row.Kind == pkFactor) {
        spin->SetMinValue(1);
        spin->SetMaxValue(4);
        spin->SetIncrement(0.05);
    }
    if (OnFloatEdit) {
        double increment = spin->Increment();
        double minValue = spin->MinValue();
        double maxValue = spin->MaxValue();
        OnFloatEdit(this, row.Name, increment, minValue, maxValue);
        spin->SetIncrement(increment);
        spin->SetMinValue(minValue);
        spin->SetMaxValue(maxValue);
    }
    // The value is filled after the host's limits, so that they decide how it is clamped.
    spin->OnChange = m_filling.guarded([this](QObject*) { commitSpin(); });
    return spin;
}

QWidget* TZVCustomInspector::makeList(const TZvProp& row)
{
    auto* list = new TZVInplaceList(this, viewport());
    list->hide();
    list->setEditable(!m_dropDownOnSelect);
    list->setInsertPolicy(QComboBox::NoInsert);
    QStringList items;
    switch (row.Kind) {
    case pkEnum: {
        const QMetaEnum type = row.TypeInfo.enumerator();
        // The symbologies come from their table, in the enumeration's order.
        if (qstrcmp(type.enumName(), QMetaEnum::fromType<TZVBar>().enumName()) == 0) {
            for (const TZVSymbology& kind : Symbologies())
                items.append(QString::fromLatin1(kind.Name));
            break;
        }
        for (int i = 0; i < type.keyCount(); ++i)
            items.append(QString::fromLatin1(type.key(i)));
        break;
    }
    case pkFontName:
        if (const TZVCustomLab* lab = label(); lab && lab->OnGetFontListEvent)
            lab->OnGetFontListEvent(this, items);
        else
            items = QFontDatabase::families();
        break;
    case pkFieldName:
        if (const TZVCustomLab* lab = label()) {
            const TZVElement* first = Editor()->FirstSelected();
            const bool image = qobject_cast<const TZVImage*>(first);
            const bool symbol = qobject_cast<const TZVSymbol*>(first);
            lab->FieldLabels(items, image, !image, symbol);
        }
        break;
    case pkAngle:
        items = angleItems();
        break;
    default:
        break;
    }
    list->addItems(items);
    connectGuarded(m_filling, list, &QComboBox::currentTextChanged, this,
                   [this](const QString& text) { commitList(text); });
    return list;
}

// ---- Commits ----

void TZVCustomInspector::commitText(const QString& text)
{
    if (m_itemIndex < 0 || !Editor()) return;
    const int index = m_itemIndex;
    const auto scope = changeScope(m_rows[index].Name, true);
    Editor()->BeginUpdate();
    if (m_rows[index].Kind == pkInteger) {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (ok && value != m_rows[index].Value.toInt()) writeRow(index, value);
    } else if (text != m_rows[index].Value.toString()) {
        // Compared exactly: changing only the case of a text is an edit too.
        writeRow(index, text);
    }
    delayedRepaint();
}

void TZVCustomInspector::commitSpin()
{
    auto* spin = qobject_cast<TZvSpinEditFloat*>(m_inplace);
    if (!spin || m_itemIndex < 0 || !Editor()) return;
    const auto scope = changeScope(m_rows[m_itemIndex].Name, true);
    Editor()->BeginUpdate();
    // Limited here, not only on leaving: the box may go without ever losing the focus.
    if (spin->Digits() != 0)
        writeRow(m_itemIndex, spin->LimitedValue());
    else
        writeRow(m_itemIndex, spin->LimitedInteger());
    delayedRepaint();
}

void TZVCustomInspector::commitList(const QString& text)
{
    if (m_itemIndex < 0 || !Editor()) return;
    const TZvProp& row = m_rows[m_itemIndex];
    bool ok = true;
    QVariant value = text;
    // Enumerations by value name, angles as decimal numbers; a partly typed name writes nothing.
    if (row.Kind == pkEnum)
        value = row.TypeInfo.enumerator().keyToValue(text.toLatin1().constData(), &ok);
    else if (row.Kind == pkAngle)
        value = text.trimmed().toInt(&ok);
    // A field picked from the list is wanted on the label: the binding goes on with it.
    const auto* list = qobject_cast<const QComboBox*>(m_inplace.data());
    const bool pickedField = row.Kind == pkFieldName && list && !text.isEmpty() && list->findText(text) >= 0;
    const auto scope = changeScope(row.Name, true);
    Editor()->BeginUpdate();
    if (ok) writeRow(m_itemIndex, value);
    if (pickedField && writeAll(QStringLiteral("Data"), true)) {
        if (const int data = FindRow(QStringLiteral("Data")); data >= 0) m_rows[data].Value = true;
        viewport()->update();
    }
    Editor()->EndUpdate(false);
}

// ---- Tab from an editor returns to the grid ----

bool TZVCustomInspector::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool fromEditor = m_inplace && widget && (widget == m_inplace || m_inplace->isAncestorOf(widget));
    if (fromEditor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            m_editorHasFocus = false;
            setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

} // namespace zorvel
