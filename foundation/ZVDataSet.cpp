// Data-set contract: value conversion and text, the record cursor, filters, links and edits.
#include "foundation/ZVDataSet.h"

#include "foundation/ZVError.h"
#include "foundation/ZVFilterExpr.h"
#include "foundation/ZVStream.h"

#include <QLocale>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorvel {

namespace {

// Date serials count days from this date, the time of day being the fraction.
const QDate kSerialEpoch(1899, 12, 30);
constexpr double kMsecsPerDay = 86400000.0;

bool isNullValue(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

QString foldName(const QString& name)
{
    return name.toCaseFolded();
}

const QLocale& cLocale()
{
    static const QLocale locale = [] {
        QLocale c = QLocale::c();
        // "1,000" must not read as a thousand.
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        return c;
    }();
    return locale;
}

bool textToDouble(const QString& text, double& d)
{
    bool ok = false;
    d = cLocale().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(d);
}

bool doubleToInteger(double d, qint64& n)
{
    // 2^63 is exactly representable; anything from it up does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (!std::isfinite(d) || d != std::trunc(d) || d >= kLimit || d < -kLimit)
        return false;
    n = static_cast<qint64>(d);
    return true;
}

bool toInteger(const QVariant& v, qint64& n)
{
    const TZVFieldKind natural = KindOfType(v.typeId());
    if (v.typeId() == QMetaType::ULongLong || v.typeId() == QMetaType::ULong) {
        if (v.toULongLong() > static_cast<quint64>(std::numeric_limits<qint64>::max()))
            return false;
        n = static_cast<qint64>(v.toULongLong());
        return true;
    }
    if (IsIntegerKind(natural)) {
        n = v.toLongLong();
        return true;
    }
    if (natural == fkBoolean) {
        n = v.toBool() ? 1 : 0;
        return true;
    }
    if (natural == fkFloat)
        return doubleToInteger(v.toDouble(), n);
    if (natural == fkString) {
        const QString text = v.toString().trimmed();
        bool ok = false;
        n = text.toLongLong(&ok);
        if (ok)
            return true;
        double d = 0;
        return textToDouble(text, d) && doubleToInteger(d, n);
    }
    return false;
}

bool toFloat(const QVariant& v, double& d)
{
    const TZVFieldKind natural = KindOfType(v.typeId());
    if (IsIntegerKind(natural) || natural == fkFloat) {
        d = v.toDouble();
        return true;
    }
    if (natural == fkBoolean) {
        d = v.toBool() ? 1 : 0;
        return true;
    }
    if (natural == fkString)
        return textToDouble(v.toString(), d);
    return false;
}

bool toBoolean(const QVariant& v, bool& b)
{
    const TZVFieldKind natural = KindOfType(v.typeId());
    if (natural == fkBoolean || IsIntegerKind(natural) || natural == fkFloat) {
        b = natural == fkFloat ? v.toDouble() != 0 : v.toBool();
        return true;
    }
    if (natural != fkString)
        return false;
    const QString text = v.toString().trimmed();
    if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1") {
        b = true;
        return true;
    }
    if (text.compare(u"false", Qt::CaseInsensitive) == 0 || text == u"0") {
        b = false;
        return true;
    }
    return false;
}

bool parseTime(const QString& text, QTime& t)
{
    t = QTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    return t.isValid();
}

// Naive date-times are kept in UTC so that no daylight-saving gap shifts a wall-clock time.
bool parseDateTime(const QString& raw, QDateTime& dt)
{
    const QString text = raw.trimmed();
    if (text.size() == 10) {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        dt = QDateTime(d, QTime(0, 0), Qt::UTC);
        return d.isValid();
    }
    // A date alone or a date and a time: nothing shorter reads as either.
    if (text.size() < 16 || (text[10] != u' ' && text[10] != u'T'))
        return false;
    const QDateTime parsed = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!parsed.isValid())
        return false;
    dt = QDateTime(parsed.date(), parsed.time(), Qt::UTC);
    return true;
}

bool toDate(const QVariant& v, QDate& d)
{
    switch (v.typeId()) {
    case QMetaType::QDate:
        d = v.toDate();
        return d.isValid();
    case QMetaType::QDateTime:
        d = v.toDateTime().date();
        return d.isValid();
    case QMetaType::QString: {
        QDateTime dt;
        if (!parseDateTime(v.toString(), dt))
            return false;
        d = dt.date();
        return true;
    }
    default:
        return false;
    }
}

bool toTime(const QVariant& v, QTime& t)
{
    switch (v.typeId()) {
    case QMetaType::QTime:
        t = v.toTime();
        return t.isValid();
    case QMetaType::QDateTime:
        t = v.toDateTime().time();
        return t.isValid();
    case QMetaType::QString:
        return parseTime(v.toString(), t);
    default:
        return false;
    }
}

bool toDateTime(const QVariant& v, QDateTime& dt)
{
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        dt = v.toDateTime();
        return dt.isValid();
    case QMetaType::QDate:
        dt = QDateTime(v.toDate(), QTime(0, 0), Qt::UTC);
        return dt.isValid();
    case QMetaType::QString:
        return parseDateTime(v.toString(), dt);
    default:
        return false;
    }
}

QString timeText(const QTime& t)
{
    return t.toString(t.msec() != 0 ? QStringLiteral("hh:mm:ss.zzz") : QStringLiteral("hh:mm:ss"));
}

QString floatText(double d)
{
    if (!std::isfinite(d))
        return QString::number(d);
    if (d == 0)
        return QStringLiteral("0");
    const double a = std::abs(d);
    const char format = a >= 1e-4 && a < 1e15 ? 'f' : 'g';
    return QString::number(d, format, QLocale::FloatingPointShortest);
}

} // namespace

bool IsIntegerKind(TZVFieldKind kind)
{
    return kind == fkSmallInt || kind == fkInteger || kind == fkWord || kind == fkLargeInt;
}

bool IsFloatKind(TZVFieldKind kind)
{
    return kind == fkFloat || kind == fkCurrency || kind == fkBCD;
}

bool IsTemporalKind(TZVFieldKind kind)
{
    return kind == fkDate || kind == fkTime || kind == fkDateTime;
}

bool IsTextKind(TZVFieldKind kind)
{
    return kind == fkString || kind == fkWideString || kind == fkMemo;
}

bool IsBinaryKind(TZVFieldKind kind)
{
    return kind == fkBlob || kind == fkGraphic;
}

TZVFieldKind KindOfType(int typeId)
{
    switch (typeId) {
    case QMetaType::Bool:
        return fkBoolean;
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return fkSmallInt;
    case QMetaType::UShort:
        return fkWord;
    case QMetaType::Int:
        return fkInteger;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return fkLargeInt;
    case QMetaType::Float:
    case QMetaType::Double:
        return fkFloat;
    case QMetaType::QDate:
        return fkDate;
    case QMetaType::QTime:
        return fkTime;
    case QMetaType::QDateTime:
        return fkDateTime;
    case QMetaType::QString:
    case QMetaType::QChar:
        return fkString;
    case QMetaType::QByteArray:
        return fkBlob;
    default:
        return fkUnknown;
    }
}

bool ConvertToKind(const QVariant& value, TZVFieldKind kind, QVariant& result)
{
    if (isNullValue(value)) {
        result = QVariant();
        return true;
    }
    if (IsIntegerKind(kind)) {
        qint64 n = 0;
        if (!toInteger(value, n))
            return false;
        result = QVariant::fromValue<qlonglong>(n);
        return true;
    }
    if (IsFloatKind(kind)) {
        double d = 0;
        if (!toFloat(value, d))
            return false;
        result = d;
        return true;
    }
    if (IsTextKind(kind)) {
        result = value.typeId() == QMetaType::QByteArray ? QString::fromUtf8(value.toByteArray())
                                                         : ValueText(value);
        return true;
    }
    if (IsBinaryKind(kind)) {
        if (value.typeId() == QMetaType::QByteArray)
            result = value;
        else if (value.typeId() == QMetaType::QString)
            result = value.toString().toUtf8();
        else
            return false;
        return true;
    }
    switch (kind) {
    case fkBoolean: {
        bool b = false;
        if (!toBoolean(value, b))
            return false;
        result = b;
        return true;
    }
    case fkDate: {
        QDate d;
        if (!toDate(value, d))
            return false;
        result = d;
        return true;
    }
    case fkTime: {
        QTime t;
        if (!toTime(value, t))
            return false;
        result = t;
        return true;
    }
    case fkDateTime: {
        QDateTime dt;
        if (!toDateTime(value, dt))
            return false;
        result = dt;
        return true;
    }
    default:
        result = value;
        return true;
    }
}

QString ValueText(const QVariant& value, TZVFieldKind kind)
{
    if (isNullValue(value))
        return {};
    if (kind == fkBlob)
        return QStringLiteral("(BLOB)");
    if (kind == fkGraphic)
        return QStringLiteral("(GRAPHIC)");
    if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong)
        return QString::number(value.toULongLong());
    const TZVFieldKind natural = KindOfType(value.typeId());
    if (IsIntegerKind(natural))
        return QString::number(value.toLongLong());
    switch (natural) {
    case fkBoolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case fkFloat:
        return floatText(value.toDouble());
    case fkDate:
        return value.toDate().toString(Qt::ISODate);
    case fkTime:
        return timeText(value.toTime());
    case fkDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.date().toString(Qt::ISODate) + u' ' + timeText(dt.time());
    }
    case fkBlob:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

// ---------------------------------------------------------------------------------------------
// TZVField

TZVField::TZVField(TZVDataSet& dataSet, int index, QString name, TZVFieldKind kind, QString displayLabel)
    : m_dataSet(dataSet), m_index(index), m_name(std::move(name)), m_kind(kind),
      m_displayLabel(std::move(displayLabel))
{
}

QVariant TZVField::Value() const
{
    return m_dataSet.currentValue(m_index);
}

qint64 TZVField::AsInteger() const
{
    qint64 n = 0;
    return toInteger(Value(), n) ? n : 0;
}

double TZVField::AsFloat() const
{
    const QVariant v = Value();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return static_cast<double>(kSerialEpoch.daysTo(v.toDate()));
    case QMetaType::QTime:
        return v.toTime().msecsSinceStartOfDay() / kMsecsPerDay;
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return static_cast<double>(kSerialEpoch.daysTo(dt.date())) +
               dt.time().msecsSinceStartOfDay() / kMsecsPerDay;
    }
    default: {
        double d = 0;
        return toFloat(v, d) ? d : 0.0;
    }
    }
}

bool TZVField::AsBoolean() const
{
    bool b = false;
    return toBoolean(Value(), b) && b;
}

QDateTime TZVField::AsDateTime() const
{
    const QVariant v = Value();
    if (v.typeId() == QMetaType::QTime)
        return QDateTime(kSerialEpoch, v.toTime(), Qt::UTC);
    QDateTime dt;
    if (toDateTime(v, dt))
        return dt;
    double serial = 0;
    if (!toFloat(v, serial) || std::abs(serial) > 3e6)
        return {};
    const double days = std::floor(serial);
    const auto msecs = static_cast<int>(std::llround((serial - days) * kMsecsPerDay));
    return QDateTime(kSerialEpoch.addDays(static_cast<qint64>(days)), QTime(0, 0), Qt::UTC).addMSecs(msecs);
}

QByteArray TZVField::AsBytes() const
{
    const QVariant v = Value();
    if (isNullValue(v))
        return {};
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    return ValueText(v).toUtf8();
}

void TZVField::requireBlob() const
{
    if (!IsBinaryKind(m_kind) && m_kind != fkMemo)
        throw EZvError(QLatin1String(kErrorNotBlob) + m_name);
}

void TZVField::SaveToStream(TZVMemoryStream& stream) const
{
    requireBlob();
    const QByteArray bytes = AsBytes();
    stream.Write(bytes.constData(), bytes.size());
}

void TZVField::SetValue(const QVariant& value)
{
    m_dataSet.setBufferValue(m_index, value);
}

void TZVField::LoadFromStream(TZVMemoryStream& stream)
{
    requireBlob();
    const QByteArray bytes = stream.Bytes();
    SetValue(m_kind == fkMemo ? QVariant(QString::fromUtf8(bytes)) : QVariant(bytes));
    stream.SetPosition(stream.Size());
}

// ---------------------------------------------------------------------------------------------
// TZVDataSet

TZVDataSet::TZVDataSet(QObject* parent) : QObject(parent) {}

TZVDataSet::~TZVDataSet()
{
    if (m_master)
        std::erase(m_master->m_details, QPointer<TZVDataSet>(this));
    // The derived part is gone: details must not ask this data set for anything any more.
    for (const QPointer<TZVDataSet>& detail : std::vector(m_details)) {
        if (!detail)
            continue;
        detail->m_master = nullptr;
        detail->m_masterFields.clear();
        detail->m_detailFields.clear();
        detail->m_detailFieldIndex.clear();
        try {
            detail->refetchUnlinked();
        } catch (...) {
            // Destructors do not throw; the detail simply shows what it has.
        }
    }
}

void TZVDataSet::SetActive(bool active)
{
    if (active)
        Open();
    else
        Close();
}

void TZVDataSet::Open()
{
    if (Active())
        return;
    const std::vector<TZVFieldDef> defs = DoOpen();
    auto closeOnFailure = qScopeGuard([this] { closeInternal(); });
    m_fields.clear();
    m_fieldIndex.clear();
    for (const TZVFieldDef& def : defs) {
        const int index = static_cast<int>(m_fields.size());
        const QString key = foldName(def.Name);
        const QString label = m_displayLabels.value(key, def.Name);
        m_fields.push_back(std::unique_ptr<TZVField>(new TZVField(*this, index, def.Name, def.Kind, label)));
        if (!m_fieldIndex.contains(key))
            m_fieldIndex.insert(key, index);
    }
    m_state = dsBrowse;
    if (m_filtered && m_filter)
        bindFilter(*m_filter);
    m_detailFieldIndex = resolveDetailFields();
    rebuildIndex();
    closeOnFailure.dismiss();
    m_pos = m_visible.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_visible.empty();
    scrolled();
}

void TZVDataSet::closeInternal()
{
    m_state = dsInactive;
    m_buffer.clear();
    m_editRow = -1;
    m_visible.clear();
    m_pos = -1;
    m_bof = m_eof = true;
    m_fieldIndex.clear();
    m_fields.clear();
    DoClose();
}

void TZVDataSet::Close()
{
    if (!Active())
        return;
    closeInternal();
    emit AfterClose();
    for (const QPointer<TZVDataSet>& detail : std::vector(m_details))
        if (detail)
            detail->followMaster();
    notifyControls();
}

void TZVDataSet::requireActive() const
{
    if (!Active())
        throw EZvError(QLatin1String(kErrorDataSetClosed));
}

void TZVDataSet::requireModifiable() const
{
    if (!CanModify())
        throw EZvError(QLatin1String(kErrorReadOnly));
}

void TZVDataSet::checkBrowseMode()
{
    if (m_state == dsEdit || m_state == dsInsert)
        Post();
}

void TZVDataSet::First()
{
    requireActive();
    checkBrowseMode();
    m_pos = m_visible.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_visible.empty();
    scrolled();
}

void TZVDataSet::Last()
{
    requireActive();
    checkBrowseMode();
    m_pos = RecordCount() - 1;
    m_eof = true;
    m_bof = m_visible.empty();
    scrolled();
}

int TZVDataSet::MoveBy(int distance)
{
    requireActive();
    checkBrowseMode();
    const int count = RecordCount();
    if (count == 0) {
        m_bof = m_eof = true;
        return 0;
    }
    if (distance == 0)
        return 0;
    const qint64 target = static_cast<qint64>(m_pos) + distance;
    const int newPos = static_cast<int>(std::clamp<qint64>(target, 0, count - 1));
    const int moved = newPos - m_pos;
    m_eof = distance > 0 && target > count - 1;
    m_bof = distance < 0 && target < 0;
    m_pos = newPos;
    if (moved != 0)
        scrolled();
    return moved;
}

void TZVDataSet::bindFilter(TZVFilterExpr& filter) const
{
    filter.Bind([this](const QString& name) -> std::optional<TZVFilterExpr::TFieldRef> {
        const TZVField* field = FindField(name);
        if (!field)
            return std::nullopt;
        return TZVFilterExpr::TFieldRef{field->Index(), field->Kind()};
    });
}

void TZVDataSet::SetFilter(const QString& text)
{
    if (text == m_filterText)
        return;
    std::unique_ptr<TZVFilterExpr> filter;
    if (!text.trimmed().isEmpty())
        filter = std::make_unique<TZVFilterExpr>(text);
    const bool applies = Active() && m_filtered;
    if (applies && filter)
        bindFilter(*filter);
    if (applies)
        checkBrowseMode();
    m_filterText = text;
    m_filter = std::move(filter);
    if (applies)
        reposition(-1, 0);
}

void TZVDataSet::SetFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    if (filtered && Active() && m_filter)
        bindFilter(*m_filter);
    if (Active())
        checkBrowseMode();
    m_filtered = filtered;
    if (Active())
        reposition(-1, 0);
}

TZVField& TZVDataSet::Fields(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw EZvError(QLatin1String(kErrorFieldIndex) + QString::number(index));
    return *m_fields[static_cast<size_t>(index)];
}

TZVField* TZVDataSet::FindField(const QString& name) const
{
    const auto it = m_fieldIndex.constFind(foldName(name));
    return it == m_fieldIndex.cend() ? nullptr : m_fields[static_cast<size_t>(*it)].get();
}

TZVField& TZVDataSet::FieldByName(const QString& name) const
{
    TZVField* field = FindField(name);
    if (!field)
        throw EZvError(QLatin1String(kErrorInvalidFieldName) + name);
    return *field;
}

void TZVDataSet::SetDisplayLabel(const QString& fieldName, const QString& label)
{
    const QString key = foldName(fieldName);
    if (label.isEmpty())
        m_displayLabels.remove(key);
    else
        m_displayLabels.insert(key, label);
    if (TZVField* field = FindField(fieldName)) {
        field->m_displayLabel = label.isEmpty() ? field->m_name : label;
        notifyControls();
    }
}

void TZVDataSet::DisableControls()
{
    ++m_disableCount;
}

void TZVDataSet::EnableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_changedWhileDisabled) {
        m_changedWhileDisabled = false;
        emit DataChanged();
    }
}

void TZVDataSet::notifyControls()
{
    if (m_disableCount > 0)
        m_changedWhileDisabled = true;
    else
        emit DataChanged();
}

void TZVDataSet::scrolled()
{
    emit AfterScroll();
    for (const QPointer<TZVDataSet>& detail : std::vector(m_details))
        if (detail)
            detail->followMaster();
    notifyControls();
}

QVariant TZVDataSet::currentValue(int field) const
{
    if (m_state == dsEdit || m_state == dsInsert)
        return m_buffer.value(field);
    if (m_pos < 0)
        return {};
    return RowValue(m_visible[static_cast<size_t>(m_pos)], field);
}

void TZVDataSet::setBufferValue(int field, const QVariant& value)
{
    if (m_state != dsEdit && m_state != dsInsert)
        throw EZvError(QLatin1String(kErrorNotEditing));
    const TZVField& f = Fields(field);
    QVariant converted;
    if (!ConvertToKind(value, f.Kind(), converted))
        throw EZvError(QLatin1String(kErrorInvalidValue) + f.FieldName());
    m_buffer[field] = converted;
    notifyControls();
}

void TZVDataSet::Edit()
{
    requireActive();
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    requireModifiable();
    if (m_pos < 0)
        throw EZvError(QLatin1String(kErrorNoRecord));
    m_editRow = m_visible[static_cast<size_t>(m_pos)];
    m_buffer.clear();
    for (int i = 0; i < FieldCount(); ++i)
        m_buffer.append(RowValue(m_editRow, i));
    m_state = dsEdit;
    notifyControls();
}

void TZVDataSet::Append()
{
    requireActive();
    checkBrowseMode();
    requireModifiable();
    QVariantList buffer;
    for (int i = 0; i < FieldCount(); ++i)
        buffer.append(QVariant());
    QVariantList masterValues;
    if (CurrentMasterValues(masterValues)) {
        for (size_t i = 0; i < m_detailFieldIndex.size(); ++i) {
            const int field = m_detailFieldIndex[i];
            if (field < 0)
                continue;
            // A master value that does not fit the detail field leaves it null.
            ConvertToKind(masterValues[static_cast<int>(i)], m_fields[static_cast<size_t>(field)]->Kind(),
                          buffer[field]);
        }
    }
    m_buffer = buffer;
    m_editRow = -1;
    m_state = dsInsert;
    notifyControls();
}

void TZVDataSet::Post()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    const int row = DoPost(m_state == dsEdit ? m_editRow : -1, m_buffer);
    m_state = dsBrowse;
    m_buffer.clear();
    m_editRow = -1;
    reposition(row, m_pos);
}

void TZVDataSet::Cancel()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    m_state = dsBrowse;
    m_buffer.clear();
    m_editRow = -1;
    notifyControls();
}

void TZVDataSet::Delete()
{
    requireActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    requireModifiable();
    if (m_pos < 0)
        throw EZvError(QLatin1String(kErrorNoRecord));
    DoDelete(m_visible[static_cast<size_t>(m_pos)]);
    m_state = dsBrowse;
    m_buffer.clear();
    m_editRow = -1;
    reposition(-1, m_pos);
}

int TZVDataSet::DoPost(int, const QVariantList&)
{
    throw EZvError(QLatin1String(kErrorReadOnly));
}

void TZVDataSet::DoDelete(int)
{
    throw EZvError(QLatin1String(kErrorReadOnly));
}

void TZVDataSet::rebuildIndex()
{
    m_visible.clear();
    const bool linked = m_master && !m_masterFields.isEmpty();
    QVariantList masterValues;
    if (linked && !CurrentMasterValues(masterValues))
        return;
    const bool linkHere = linked && !LinksAtSource();
    const bool filterHere = m_filtered && m_filter && !m_filter->IsEmpty();
    const int rows = RowCount();
    for (int row = 0; row < rows; ++row) {
        if (linkHere) {
            bool matches = true;
            for (size_t i = 0; i < m_detailFieldIndex.size() && matches; ++i) {
                const std::optional<int> order =
                    CompareValues(RowValue(row, m_detailFieldIndex[i]), masterValues[static_cast<int>(i)]);
                matches = order && *order == 0;
            }
            if (!matches)
                continue;
        }
        if (filterHere && !m_filter->Matches([this, row](int field) { return RowValue(row, field); }))
            continue;
        m_visible.push_back(row);
    }
}

void TZVDataSet::reposition(int row, int fallback)
{
    rebuildIndex();
    const auto it = std::find(m_visible.begin(), m_visible.end(), row);
    if (it != m_visible.end())
        m_pos = static_cast<int>(it - m_visible.begin());
    else
        m_pos = m_visible.empty() ? -1 : std::clamp(fallback, 0, RecordCount() - 1);
    m_bof = m_eof = m_visible.empty();
    if (m_pos == 0)
        m_bof = true;
    scrolled();
}

void TZVDataSet::CopyViewTo(TZVDataSet& copy) const
{
    copy.SetName(Name());
    copy.SetFilter(Filter());
    copy.SetFiltered(Filtered());
    copy.m_displayLabels = m_displayLabels;
}

void TZVDataSet::RowsChanged()
{
    if (Active())
        reposition(-1, m_pos);
}

bool TZVDataSet::CurrentMasterValues(QVariantList& values) const
{
    values.clear();
    if (!m_master || m_masterFields.isEmpty() || !m_master->Active())
        return false;
    if (m_master->m_pos < 0 && m_master->m_state != dsInsert)
        return false;
    for (const QString& name : m_masterFields)
        values.append(m_master->FieldByName(name).Value());
    return true;
}

void TZVDataSet::followMaster()
{
    if (!Active())
        return;
    checkBrowseMode();
    QVariantList masterValues;
    if (LinksAtSource() && CurrentMasterValues(masterValues))
        FetchForMaster();
    reposition(-1, 0);
}

std::vector<int> TZVDataSet::resolveDetailFields() const
{
    std::vector<int> indexes;
    if (!m_master)
        return indexes;
    for (const QString& name : m_detailFields) {
        const TZVField* field = FindField(name);
        // A source that selects by the link itself need not return the link fields.
        if (!field && !LinksAtSource())
            throw EZvError(QLatin1String(kErrorInvalidFieldName) + name);
        indexes.push_back(field ? field->Index() : -1);
    }
    return indexes;
}

void TZVDataSet::refetchUnlinked()
{
    if (!Active())
        return;
    FetchForMaster();
    RowsChanged();
}

void TZVDataSet::SetMaster(TZVDataSet* master, const QStringList& masterFields, const QStringList& detailFields)
{
    if (!master) {
        ClearMaster();
        return;
    }
    const QStringList details = detailFields.isEmpty() ? masterFields : detailFields;
    if (masterFields.isEmpty() || details.size() != masterFields.size())
        throw EZvError(QLatin1String(kErrorMasterLink));
    for (const TZVDataSet* m = master; m; m = m->m_master)
        if (m == this)
            throw EZvError(QLatin1String(kErrorMasterLink));

    const QPointer<TZVDataSet> oldMaster = m_master;
    const QStringList oldMasterFields = m_masterFields;
    const QStringList oldDetailFields = m_detailFields;
    const auto link = [this](TZVDataSet* to, const QStringList& masterNames, const QStringList& detailNames) {
        if (m_master)
            std::erase(m_master->m_details, QPointer<TZVDataSet>(this));
        m_master = to;
        m_masterFields = masterNames;
        m_detailFields = detailNames;
        m_detailFieldIndex.clear();
        if (to)
            to->m_details.emplace_back(this);
    };
    link(master, masterFields, details);
    auto relinkOnFailure = qScopeGuard([&] {
        link(oldMaster, oldMasterFields, oldDetailFields);
        try {
            if (Active())
                m_detailFieldIndex = resolveDetailFields();
            refetchUnlinked();
        } catch (...) {
            // The first failure is the one to report.
        }
    });
    if (Active())
        m_detailFieldIndex = resolveDetailFields();
    followMaster();
    relinkOnFailure.dismiss();
}

void TZVDataSet::ClearMaster()
{
    if (!m_master && m_masterFields.isEmpty())
        return;
    if (m_master)
        std::erase(m_master->m_details, QPointer<TZVDataSet>(this));
    m_master = nullptr;
    m_masterFields.clear();
    m_detailFields.clear();
    m_detailFieldIndex.clear();
    refetchUnlinked();
}

// ---------------------------------------------------------------------------------------------
// TZVDataSetRegistry

void TZVDataSetRegistry::Add(TZVDataSet* dataSet, const QString& module)
{
    if (!dataSet)
        return;
    Remove(dataSet);
    m_entries.push_back({dataSet, module});
}

void TZVDataSetRegistry::Remove(TZVDataSet* dataSet)
{
    std::erase_if(m_entries, [dataSet](const TEntry& e) { return !e.DataSet || e.DataSet == dataSet; });
}

QString TZVDataSetRegistry::qualifiedName(const TEntry& entry, bool withModule)
{
    return withModule ? entry.Module + u'.' + entry.DataSet->Name() : entry.DataSet->Name();
}

TZVDataSet* TZVDataSetRegistry::Find(const QString& name, bool withModule) const
{
    if (name.isEmpty())
        return nullptr;
    for (const TEntry& entry : m_entries)
        if (entry.DataSet && qualifiedName(entry, withModule).compare(name, Qt::CaseInsensitive) == 0)
            return entry.DataSet;
    return nullptr;
}

QStringList TZVDataSetRegistry::Names(bool withModule) const
{
    QStringList names;
    for (const TEntry& entry : m_entries)
        if (entry.DataSet)
            names.append(qualifiedName(entry, withModule));
    return names;
}

} // namespace zorvel
