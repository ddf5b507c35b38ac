// Inspector rows: the common class of a selection, its published properties, row kinds and values.
#include "inspector/ZVInspector.h"

#include "editor/ZVEditor.h"
#include "document/ZVElement.h"
#include "elements/ZVParagraph.h"
#include "foundation/ZVStrings.h"

#include <QLocale>
#include <QMetaType>

namespace zorvel {

namespace {

bool named(const QMetaProperty& property, const char* name)
{
    return qstricmp(property.name(), name) == 0;
}

bool isSignedInteger(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
        return true;
    default:
        return false;
    }
}

bool isCharacter(int id)
{
    return id == QMetaType::QChar || id == QMetaType::Char || id == QMetaType::Char16;
}

} // namespace

const QMetaObject* CommonElementClass(const QList<TZVElement*>& elements)
{
    if (elements.isEmpty() || !elements.first()) return nullptr;
    const QMetaObject* common = elements.first()->metaObject();
    for (const TZVElement* element : elements) {
        if (!element) continue;
        // Starting from the element's own class keeps a class that is itself an ancestor of
        // the common one (a base walk would skip it and drop its properties).
        for (const QMetaObject* cls = element->metaObject(); cls; cls = cls->superClass()) {
            if (common->inherits(cls)) {
                common = cls;
                break;
            }
        }
    }
    return common;
}

QList<QMetaProperty> PublishedProperties(const QMetaObject& cls)
{
    QList<QMetaProperty> list;
    for (int i = QObject::staticMetaObject.propertyCount(); i < cls.propertyCount(); ++i) {
        const QMetaProperty property = cls.property(i);
        auto same = std::find_if(list.begin(), list.end(),
                                 [&](const QMetaProperty& p) { return qstrcmp(p.name(), property.name()) == 0; });
        // Published again by a subclass: the newer declaration, in the inherited place.
        if (same != list.end())
            *same = property;
        else
            list.append(property);
    }
    return list;
}

std::optional<TZVPropKind> PropertyKindOf(const QMetaObject& cls, const QMetaProperty& property)
{
    if (property.isEnumType()) {
        const QByteArray type = property.enumerator().name();
        if (type == "TTextFormat") return pkTextFormat;
        if (type == "TTextAlign") return pkTextAlign;
        if (type == "TZVEleAlign") return pkEleAlign;
        return pkEnum;
    }
    const int id = property.metaType().id();
    if (id == QMetaType::Bool) return pkBoolean;
    if (id == QMetaType::QString) {
        static constexpr std::pair<const char*, TZVPropKind> kNamedStrings[] = {
            {"FontName", pkFontName}, {"FieldName", pkFieldName}, {"EditTable", pkEditTable},
            {"EditPoly", pkEditPoly},  {"FileImage", pkFileImage}, {"Code", pkCode},
            {"Question", pkWideText},  {"Answer", pkWideText},     {"Before", pkWideText},
            {"After", pkWideText},     {"Template", pkTemplate},
        };
        for (const auto& [name, kind] : kNamedStrings)
            if (named(property, name)) return kind;
        if (named(property, "Text"))
            return cls.inherits(&TZVParagraph::staticMetaObject) ? pkParagraphText : pkWideText;
        return pkString;
    }
    if (id == QMetaType::UInt) return pkColor;
    if (isSignedInteger(id)) {
        if (named(property, "Angle")) return pkAngle;
        if (named(property, "RowCount") || named(property, "ColCount")) return pkCount;
        return pkInteger;
    }
    if (id == QMetaType::Float || id == QMetaType::Double) {
        if (named(property, "Factor")) return pkFactor;
        if (named(property, "Ratio")) return pkRatio;
        return pkFloat;
    }
    if (isCharacter(id)) return pkChar;
    return std::nullopt;
}

QString FormatInspectorNumber(double value, const QString& suffix)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2) + suffix;
}

QVariant TZVCustomInspector::readValue(QObject* element, const TZvProp& row) const
{
    if (!element) return {};
    const QMetaObject* cls = element->metaObject();
    const int index = cls->indexOfProperty(row.Name.toLatin1().constData());
    if (index < 0) return {};
    const QMetaProperty property = cls->property(index);
    const QVariant value = property.read(element);
    if (property.isEnumType()) return value.toInt();
    switch (property.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::UInt:
        return value.toUInt();
    case QMetaType::Float:
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QChar:
        return int(value.toChar().unicode());
    default:
        return value.toInt();
    }
}

void TZVCustomInspector::UpdateSelection()
{
    m_rows.clear();
    m_downX = -1;
    m_itemIndex = -1;
    destroyInplace();
    TZVCustomEditor* editor = Editor();
    if (!editor || editor->SelCount() == 0) {
        updateScrollBar();
        viewport()->update();
        return;
    }
    const QMetaObject* cls = CommonElementClass(editor->Selection());
    TZVElement* first = editor->FirstSelected();
    for (const QMetaProperty& property : PublishedProperties(*cls)) {
        const std::optional<TZVPropKind> kind = PropertyKindOf(*cls, property);
        if (!kind) continue;
        TZvProp row;
        row.Name = QString::fromLatin1(property.name());
        row.TypeInfo = property;
        row.Kind = *kind;
        row.CaptionIndex = std::max(0, FindCaptionRow(row.Name));
        row.Value = readValue(first, row);
        if (row.Kind == pkFontName) m_textFontName = row.Value.toString();
        m_rows.append(row);
    }
    updateScrollBar();
    viewport()->update();
}

void TZVCustomInspector::UpdateProperty(const QString& name)
{
    TZVCustomEditor* editor = Editor();
    if (!editor || editor->SelCount() == 0 || m_rows.isEmpty()) return;
    const int index = FindRow(name);
    if (index < 0) return;
    m_rows[index].Value = readValue(editor->FirstSelected(), m_rows[index]);
    // A change made elsewhere (a drag on the design surface) reaches an idle in-place editor.
    if (index == m_itemIndex && m_inplace && !m_inplace->hasFocus()) fillInplace();
    viewport()->update();
}

int TZVCustomInspector::FindRow(const QString& name) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].Name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

} // namespace zorvel
