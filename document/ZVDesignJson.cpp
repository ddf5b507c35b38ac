// JSON writer and reader visitors over the parts' fields, and the design <-> JSON conversions.
#include "document/ZVDesignJson.h"

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVStreamVisitors.h"
#include "document/ZVElement.h"
#include "document/ZVElementRegistry.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "platform/ZVBmp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QScopeGuard>
#include <QSet>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace zorvel {
namespace {

constexpr const char* kElementsKey = "Elements";
constexpr const char* kKindKey = "Kind";

// Writes JSON text as the fields are visited, so that keys keep their stream order.
class JsonWriter final : public TZVFieldVisitor
{
public:
    // The layout of the stream the design would be saved in: old designs keep their keys.
    explicit JsonWriter(std::int32_t version) : m_version(version) {}

    std::int32_t Version() const override { return m_version; }
    bool Reading() const override { return false; }

    void U8(const char* name, std::uint8_t& value) override { number(name, value); }
    void Bool(const char* name, bool& value) override
    {
        if (key(name))
            m_out += value ? "true" : "false";
    }
    void U16(const char* name, std::uint16_t& value) override { number(name, value); }
    void I32(const char* name, std::int32_t& value) override { number(name, value); }
    void I64(const char* name, std::int64_t& value) override { number(name, value); }
    void Color(const char* name, TZVColor& value) override { number(name, value); }
    void WStr(const char* name, QString& value, bool) override { string(name, value); }
    void AStr(const char* name, QString& value) override { string(name, value); }
    void Picture(const char* name, QImage& picture, bool& present) override
    {
        if (present && !picture.isNull() && key(name))
            quoted(QString::fromLatin1(EncodeBmp(picture).toBase64()));
    }
    void Records(const char* name, int count, const std::function<void(int)>&,
                 const std::function<void(int)>& item, int) override
    {
        if (!key(name))
            return;
        beginArray();
        for (int i = 0; i < count; ++i) {
            arrayItem();
            beginObject();
            item(i);
            endObject();
        }
        endArray();
    }
    void Group(const char* name, const std::function<void()>& fields) override
    {
        if (!key(name))
            return;
        beginObject();
        fields();
        endObject();
    }

    // Structure for what the visitors do not cover (the element list).
    bool key(const char* name)
    {
        Scope& scope = m_scopes.back();
        const QByteArray k(name);
        // A field visited twice by one object (the bar code's font height) is written once.
        for (const QByteArray& seen : scope.keys)
            if (seen == k)
                return false;
        scope.keys.push_back(k);
        separator();
        m_out += '"';
        m_out += k;
        m_out += "\": ";
        return true;
    }
    void beginObject()
    {
        m_out += '{';
        m_scopes.push_back({});
    }
    void endObject() { close('}'); }
    void beginArray()
    {
        m_out += '[';
        m_scopes.push_back({});
    }
    void endArray() { close(']'); }
    void arrayItem() { separator(); }
    void number(const char* name, qint64 value)
    {
        if (key(name))
            m_out += QByteArray::number(value);
    }
    QByteArray take()
    {
        m_out += '\n';
        return std::move(m_out);
    }

private:
    struct Scope
    {
        std::vector<QByteArray> keys;
        bool empty = true;
    };

    void indent()
    {
        m_out += '\n';
        m_out += QByteArray(2 * static_cast<int>(m_scopes.size() - 1), ' ');
    }
    void separator()
    {
        Scope& scope = m_scopes.back();
        if (!scope.empty)
            m_out += ',';
        scope.empty = false;
        indent();
    }
    void close(char bracket)
    {
        const bool empty = m_scopes.back().empty;
        m_scopes.pop_back();
        if (!empty) {
            m_out += '\n';
            m_out += QByteArray(2 * static_cast<int>(m_scopes.size() - 1), ' ');
        }
        m_out += bracket;
    }
    void string(const char* name, const QString& value)
    {
        if (key(name))
            quoted(value);
    }
    void quoted(const QString& value)
    {
        m_out += '"';
        const QStringView view(value);
        qsizetype plainFrom = 0;
        const auto escape = [&](qsizetype at, const QByteArray& escaped) {
            m_out += view.mid(plainFrom, at - plainFrom).toUtf8();
            m_out += escaped;
            plainFrom = at + 1;
        };
        for (qsizetype i = 0; i < view.size(); ++i) {
            const char16_t c = view[i].unicode();
            if (c == '"' || c == '\\')
                escape(i, QByteArray(1, '\\') + char(c));
            else if (c < 0x20)
                escape(i, "\\u00" + QByteArray::number(c, 16).rightJustified(2, '0'));
            else if (QChar::isHighSurrogate(c) && i + 1 < view.size() && QChar::isLowSurrogate(view[i + 1].unicode()))
                ++i;
            else if (QChar::isSurrogate(c))
                // A lone surrogate has no UTF-8 form; the escape keeps the code unit.
                escape(i, "\\u" + QByteArray::number(c, 16).rightJustified(4, '0'));
        }
        m_out += view.mid(plainFrom).toUtf8();
        m_out += '"';
    }

    std::int32_t m_version;
    QByteArray m_out;
    std::vector<Scope> m_scopes{Scope{}};
};

[[noreturn]] void jsonError(const char* what, const QString& path)
{
    throw EZvError(QString::fromLatin1(what) + QStringLiteral(" : ") + path);
}

// Reads the fields of one JSON object (and its nested ones) into the visited part. Missing keys
// fall back to `defaults` when given, else leave the field as it is; keys that no field visited
// are reported by checkUnknown().
class JsonReader final : public TZVFieldVisitor
{
public:
    JsonReader(const QJsonObject& object, const QString& path, const QJsonObject& defaults = {})
        : m_scope{object, defaults, path, {}}
    {
    }

    // Every key of the newest layout is understood; missing ones keep their defaults.
    std::int32_t Version() const override { return kNewestStreamVersion; }
    bool Reading() const override { return true; }

    void U8(const char* name, std::uint8_t& value) override { integer(name, value); }
    void Bool(const char* name, bool& value) override
    {
        const QJsonValue v = find(name);
        if (v.isUndefined())
            return;
        if (!v.isBool())
            invalid(name);
        value = v.toBool();
    }
    void U16(const char* name, std::uint16_t& value) override { integer(name, value); }
    void I32(const char* name, std::int32_t& value) override { integer(name, value); }
    // JSON numbers are doubles: beyond 2^53 a whole number is no longer exact.
    void I64(const char* name, std::int64_t& value) override
    {
        const QJsonValue v = find(name);
        if (v.isUndefined())
            return;
        constexpr double kExact = 9007199254740992.0;
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || d != std::floor(d) || std::abs(d) > kExact)
            invalid(name);
        value = static_cast<std::int64_t>(d);
    }
    void Color(const char* name, TZVColor& value) override { integer(name, value); }
    void WStr(const char* name, QString& value, bool) override { string(name, value); }
    void AStr(const char* name, QString& value) override { string(name, value); }
    void Picture(const char* name, QImage& picture, bool& present) override
    {
        const QJsonValue v = find(name);
        if (v.isUndefined()) {
            picture = QImage();
            present = false;
            return;
        }
        if (!v.isString())
            invalid(name);
        const auto decoded =
            QByteArray::fromBase64Encoding(v.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            invalid(name);
        try {
            picture = DecodeBmp(*decoded);
        } catch (const EZvError&) {
            invalid(name);
        }
        present = true;
    }
    void Records(const char* name, int, const std::function<void(int)>& resize,
                 const std::function<void(int)>& item, int) override
    {
        const QJsonValue v = find(name);
        if (v.isUndefined())
            return;
        if (!v.isArray())
            invalid(name);
        const QJsonArray array = v.toArray();
        const QString arrayPath = path(name);
        resize(static_cast<int>(array.size()));
        for (int i = 0; i < array.size(); ++i) {
            const QString itemPath = arrayPath + QLatin1Char('[') + QString::number(i) + QLatin1Char(']');
            if (!array[i].isObject())
                jsonError("INVALID VALUE", itemPath);
            nested(array[i].toObject(), {}, itemPath, [&] { item(i); });
        }
    }
    void Group(const char* name, const std::function<void()>& fields) override
    {
        const QJsonValue v = m_scope.object.value(QLatin1String(name));
        m_scope.visited.insert(QString::fromLatin1(name));
        if (!v.isUndefined() && !v.isObject())
            invalid(name);
        nested(v.toObject(), m_scope.defaults.value(QLatin1String(name)).toObject(), path(name), fields);
    }

    // Marks a key as handled outside the visitors.
    void markHandled(const char* name) { m_scope.visited.insert(QString::fromLatin1(name)); }
    QString keyPath(const char* name) const { return path(name); }

    void checkUnknown() const
    {
        for (auto it = m_scope.object.begin(); it != m_scope.object.end(); ++it)
            if (!m_scope.visited.contains(it.key()))
                jsonError("UNKNOWN KEY", m_scope.path.isEmpty() ? it.key() : m_scope.path + u'.' + it.key());
    }

    // Visits `fields` on another object, then reports its unknown keys.
    void nested(const QJsonObject& object, const QJsonObject& defaults, const QString& objectPath,
                const std::function<void()>& fields)
    {
        Scope saved = std::exchange(m_scope, Scope{object, defaults, objectPath, {}});
        const auto restore = qScopeGuard([this, &saved] { m_scope = std::move(saved); });
        fields();
        checkUnknown();
    }

private:
    struct Scope
    {
        QJsonObject object;
        QJsonObject defaults;
        QString path;
        QSet<QString> visited;
    };

    QString path(const char* name) const
    {
        return m_scope.path.isEmpty() ? QString::fromLatin1(name) : m_scope.path + u'.' + QLatin1String(name);
    }
    [[noreturn]] void invalid(const char* name) const { jsonError("INVALID VALUE", path(name)); }
    [[noreturn]] void OutOfRange(const char* name) override { invalid(name); }
    [[noreturn]] void Refuse(const char* name, const QString& reason) override
    {
        throw EZvError(QStringLiteral("INVALID VALUE : ") + path(name) + QStringLiteral(" (") + reason + u')');
    }

    QJsonValue find(const char* name)
    {
        const QLatin1String key(name);
        m_scope.visited.insert(key);
        const QJsonValue v = m_scope.object.value(key);
        return v.isUndefined() ? m_scope.defaults.value(key) : v;
    }

    template <typename T>
    void integer(const char* name, T& value)
    {
        const QJsonValue v = find(name);
        if (v.isUndefined())
            return;
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || d != std::floor(d) || d < double(std::numeric_limits<T>::min()) ||
            d > double(std::numeric_limits<T>::max()))
            invalid(name);
        value = static_cast<T>(d);
    }
    void string(const char* name, QString& value)
    {
        const QJsonValue v = find(name);
        if (v.isUndefined())
            return;
        if (!v.isString())
            invalid(name);
        value = v.toString();
    }

    Scope m_scope;
};

// Finds out whether any image keeps a picture, without writing anything.
class PictureProbe final : public TZVFieldVisitor
{
public:
    bool found = false;

    std::int32_t Version() const override { return kStreamVersion; }
    bool Reading() const override { return false; }
    void U8(const char*, std::uint8_t&) override {}
    void Bool(const char*, bool&) override {}
    void U16(const char*, std::uint16_t&) override {}
    void I32(const char*, std::int32_t&) override {}
    void Color(const char*, TZVColor&) override {}
    void WStr(const char*, QString&, bool) override {}
    void AStr(const char*, QString&) override {}
    void Picture(const char*, QImage& picture, bool& present) override { found |= present && !picture.isNull(); }
    void Records(const char*, int count, const std::function<void(int)>&, const std::function<void(int)>& item,
                 int) override
    {
        for (int i = 0; i < count; ++i)
            item(i);
    }
};

QByteArray designJson(TZVCustomLab& label)
{
    JsonWriter writer(StreamVersionFor(label));
    writer.beginObject();
    label.VisitHeaderFields(writer);
    writer.key(kElementsKey);
    writer.beginArray();
    for (TZVElement* element : label.Elements()) {
        writer.arrayItem();
        writer.beginObject();
        writer.number(kKindKey, element->ElementKind());
        element->VisitFields(writer);
        writer.endObject();
    }
    writer.endArray();
    writer.endObject();
    return writer.take();
}

// The header of a new label, for the keys that a JSON design leaves out.
const QJsonObject& newLabelHeader()
{
    static const QJsonObject header = [] {
        TZVLab fresh;
        return QJsonDocument::fromJson(designJson(fresh)).object();
    }();
    return header;
}

void readElements(TZVCustomLab& label, JsonReader& top, const QJsonValue& elements)
{
    const QString arrayPath = top.keyPath(kElementsKey);
    top.markHandled(kElementsKey);
    if (elements.isUndefined())
        return;
    if (!elements.isArray())
        jsonError("INVALID VALUE", arrayPath);
    const QJsonArray array = elements.toArray();
    for (int i = 0; i < array.size(); ++i) {
        const QString itemPath = arrayPath + QLatin1Char('[') + QString::number(i) + QLatin1Char(']');
        if (!array[i].isObject())
            jsonError("INVALID VALUE", itemPath);
        const QJsonObject object = array[i].toObject();
        const QJsonValue kind = object.value(QLatin1String(kKindKey));
        const QString kindPath = itemPath + u'.' + QLatin1String(kKindKey);
        if (kind.isUndefined())
            jsonError("MISSING KEY", kindPath);
        const double k = kind.toDouble(0);
        if (!kind.isDouble() || k != std::floor(k) || k < 1 || k > 255)
            jsonError("INVALID VALUE", kindPath);
        // A new element is named unless the JSON names it: naming every element of a long
        // design would take time quadratic in its length.
        label.SetLoading(object.contains(QLatin1String("ID")));
        TZVElement* element = CreateElementOfKind(label, static_cast<int>(k));
        label.SetLoading(true);
        if (!element)
            jsonError("INVALID VALUE", kindPath);
        JsonReader reader(object, itemPath);
        reader.markHandled(kKindKey);
        element->VisitFields(reader);
        reader.checkUnknown();
    }
}

// Sets the label's loading flag for the time of a read.
class LoadingScope
{
public:
    explicit LoadingScope(TZVCustomLab& label) : m_label(label), m_wasLoading(label.Loading())
    {
        m_label.SetLoading(true);
    }
    ~LoadingScope() { m_label.SetLoading(m_wasLoading); }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    TZVCustomLab& m_label;
    bool m_wasLoading;
};

} // namespace

void TZVCustomLab::VisitHeaderFields(TZVFieldVisitor& v)
{
    v.I32("ReadVersion", m_readVersion);
    v.Bool("OnlyBitmap", m_onlyBitmap);
    v.Enum("Units", m_units);
    v.Enum("DataAccessType", m_dataAccessType);
    v.Bool("DataEnabled", m_dataEnabled);
    v.AStr("DataSetName", m_dataSetName);
    v.WStr("DetailName", m_detailName);
    v.Bool("ShowMargins", m_showMargins);
    v.Group("AliasTable", [&] {
        v.WStr("DatabaseName", m_aliasTable.DatabaseName);
        v.WStr("TableName", m_aliasTable.TableName);
        v.WStr("Filter", m_aliasTable.Filter);
    });
    v.Group("Measure", [&] {
        m_measure->VisitFields(v);
        QString paperName = m_measure->PaperName();
        QString labelName = m_measure->LabelName();
        v.WStr("PaperName", paperName);
        v.WStr("LabelName", labelName);
        if (v.Reading()) {
            m_measure->SetPaperName(paperName);
            m_measure->SetLabelName(labelName);
        }
    });
    v.Group("Title", [&] {
        v.I32("X", m_title.X);
        v.I32("Y", m_title.Y);
        v.I32("FontHeight", m_title.FontHeight);
        v.AStr("FontName", m_title.FontName);
        v.WStr("Text", m_title.Text);
        v.Bool("PrintTitle", m_title.PrintTitle);
        v.Color("Color", m_title.Color);
    });
    v.Group("BackSurf", [&] {
        v.WStr("FileImage", m_backSurf->m_fileImage);
        m_backSurf->VisitFields(v, m_backSurf->m_showAlign);
    });
    v.Group("Frame", [&] { m_frame->VisitFields(v); });
    v.Group("PrintInfo", [&] {
        m_printInfo->VisitFields(v);
        v.I32("Repetitions", m_printInfo->m_repetitions);
    });
    VisitContentFields(v);
    if (m_editor) {
        v.Group("Editor", [&] {
            auto snap = m_editor->Snap();
            TZVColor gridColor = m_editor->GridColor();
            std::int32_t incX = m_editor->GridIncX();
            std::int32_t incY = m_editor->GridIncY();
            bool show = m_editor->GridShow();
            TZVColor selColor = m_editor->SelColor();
            v.Enum("Snap", snap);
            v.Color("GridColor", gridColor);
            v.I32("GridIncX", incX);
            v.I32("GridIncY", incY);
            v.Bool("GridShow", show);
            v.Color("SelColor", selColor);
            if (v.Reading()) {
                m_editor->SetSnap(snap);
                m_editor->SetGridSettings(gridColor, incX, incY, show);
                m_editor->SetSelColor(selColor);
            }
        });
    }
}

QByteArray DesignToJson(TZVCustomLab& label)
{
    return designJson(label);
}

namespace {

QJsonObject parseDesignJson(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw EZvError(QStringLiteral("INVALID JSON AT OFFSET %1").arg(error.offset));
    if (!document.isObject())
        throw EZvError(QStringLiteral("INVALID JSON AT OFFSET 0"));
    return document.object();
}

// A conversion keeps the background's file name as the JSON has it, picture or not.
void readDesignJson(TZVCustomLab& label, const QJsonObject& top, bool conversion)
{
    const LoadingScope loading(label);
    JsonReader reader(top, QString(), newLabelHeader());
    label.VisitHeaderFields(reader);
    readElements(label, reader, top.value(QLatin1String(kElementsKey)));
    reader.checkUnknown();
    // As the stream reader does: a missing file drops the name, an unreadable one is reported.
    if (!conversion)
        label.BackSurf().LoadPicture();
}

} // namespace

void DesignFromJson(TZVCustomLab& label, const QByteArray& json)
{
    const QJsonObject top = parseDesignJson(json);
    label.replaceDesign([&] { readDesignJson(label, top, false); });
    // Another design: the steps of the one before do not apply to it.
    label.UndoStack().clear();
    label.SetModified(false);
    label.showDesignRead();
}

void TZVEditorSettings::SetGridSettings(TZVColor color, int incX, int incY, bool show)
{
    m_gridColor = color;
    m_gridIncX = incX;
    m_gridIncY = incY;
    m_gridShow = show;
}

QByteArray StreamToJson(const QByteArray& stream)
{
    TZVEditorSettings editor;
    TZVLab label;
    label.SetEditor(&editor);
    // Pictures are found wherever a writer put them; the JSON says whether there were any.
    label.SetOnlyBitmap(true);
    TZVMemoryStream input(stream);
    label.LoadFromStreamRaw(input);
    PictureProbe probe;
    for (TZVElement* element : label.Elements())
        element->VisitFields(probe);
    label.SetOnlyBitmap(probe.found);
    QByteArray json = designJson(label);
    label.SetEditor(nullptr);
    return json;
}

QByteArray JsonToStream(const QByteArray& json)
{
    TZVEditorSettings editor;
    TZVLab label;
    label.SetEditor(&editor);
    readDesignJson(label, parseDesignJson(json), true);
    TZVMemoryStream output;
    label.SaveToStream(output);
    label.SetEditor(nullptr);
    return output.Bytes();
}

} // namespace zorvel
