// The label stream: the header and the element records in the current layout, and the older
// layouts read.
#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVStreamVisitors.h"
#include "document/ZVElement.h"
#include "document/ZVElementRegistry.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "platform/ZVBmp.h"

#include <QMetaEnum>

#include <exception>

namespace zorvel {
namespace {

// Layout milestones of the header.
constexpr std::int32_t kHeaderBitmapFlagVersion = 18; // before it the header bitmap has no flag
constexpr std::int32_t kTitleColorVersion = 19;
constexpr std::int32_t kModelUnitVersion = 20;        // data access ordinals shifted, reserved i32 added
constexpr std::int32_t kDetailNameVersion = 2700;
// Image records carry their picture only after this version.
constexpr std::int32_t kLastPicturelessVersion = 17;
// In streams of this version kind 10 is a kind that this reader does not know.
constexpr std::int32_t kForeignKindTenVersion = 18;

// Longer strings than these mean that a legacy header is really in the oldest layout.
constexpr int kLegacyMaxFilter = 80;
constexpr int kLegacyMaxName = 30;

// Smallest element record: kind byte, then the oldest layout's base fields: three colours (12),
// four flags (4), pen width (4), two corners (16), angle (4), separation (4), empty ID (4).
constexpr qint64 kMinElementRecordBytes = 1 + 12 + 4 + 4 + 16 + 4 + 4 + 4;

[[noreturn]] void readError()
{
    throw EZvError(QString::fromLatin1(kErrorReadingFile));
}

// An enumeration byte of the header: a value outside the enumeration is damage.
template <typename E>
E readEnum(TZVMemoryStream& stream)
{
    const std::uint8_t ordinal = stream.ReadU8();
    if (ordinal >= QMetaEnum::fromType<E>().keyCount())
        readError();
    return static_cast<E>(ordinal);
}

// Strings at the head of the stream, fields 2 to 8.
struct HeaderStrings
{
    QString fileImage;
    QString dataSource;
    QString tableName;
    QString filter;
    QString detailName;
    QString labelName;
    QString paperName;
};

// Legacy layout: the same strings without the detail name, wide strings without byte counts
// (the LegacyStream flag is set). False when they do not fit that layout.
bool readLegacyStrings(TZVMemoryStream& stream, HeaderStrings& s)
{
    try {
        s.fileImage = ReadWideString(stream);
        s.dataSource = ReadWideString(stream);
        s.tableName = ReadWideString(stream);
        s.filter = ReadWideString(stream);
        s.labelName = ReadWideString(stream);
        s.paperName = ReadWideString(stream);
    } catch (const EZvError&) {
        return false;
    }
    return s.filter.size() <= kLegacyMaxFilter && s.labelName.size() <= kLegacyMaxName &&
           s.paperName.size() <= kLegacyMaxName;
}

void readOldestStrings(TZVMemoryStream& stream, HeaderStrings& s)
{
    s = {};
    s.fileImage = ReadAnsiString(stream);
    s.dataSource = ReadWideString(stream);
    s.tableName = ReadWideString(stream);
    s.filter = ReadWideString(stream);
    s.labelName = ReadAnsiString(stream);
    s.paperName = ReadAnsiString(stream);
}

// Reads past a bitmap that nothing keeps. Writers that had none wrote nothing, and what follows
// (the snap byte, a kind byte) never starts "BM".
void skipBitmap(TZVMemoryStream& stream)
{
    const QByteArray& bytes = stream.Bytes();
    const qint64 at = stream.Position();
    if (stream.Remaining() >= 2 && bytes[at] == 'B' && bytes[at + 1] == 'M')
        SkipBmpInStream(stream);
}

// Restores the label's transient load state however the load ends.
class LoadScope
{
public:
    LoadScope(bool& loading, std::uint8_t& loadMode, std::uint8_t mode)
        : m_loading(loading), m_loadMode(loadMode), m_wasLoading(loading)
    {
        m_loading = true;
        m_loadMode = mode;
    }
    ~LoadScope()
    {
        m_loading = m_wasLoading;
        m_loadMode = 0;
    }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

private:
    bool& m_loading;
    std::uint8_t& m_loadMode;
    bool m_wasLoading;
};

} // namespace

void TZVCustomLab::SaveToStream(TZVMemoryStream& stream)
{
    writeStream(stream);
    SetModified(false);
}

void TZVCustomLab::SaveSnapshot(TZVMemoryStream& stream)
{
    writeStream(stream);
}

void TZVCustomLab::writeStream(TZVMemoryStream& stream)
{
    const std::int32_t version = StreamVersionFor(*this);
    TZVStreamWriter writer(stream, version);
    stream.WriteI32(version);
    WriteWideString(m_backSurf->FileImage(), stream);
    const bool namedDataSet = m_dataAccessType == daDataSet && m_dataSet;
    WriteWideString(namedDataSet ? m_dataSet->Name() : m_aliasTable.DatabaseName, stream);
    WriteWideString(m_aliasTable.TableName, stream);
    WriteWideString(m_aliasTable.Filter, stream);
    WriteWideString(m_detailName, stream);
    WriteWideString(m_measure->LabelName(), stream);
    WriteWideString(m_measure->PaperName(), stream);
    stream.WriteU8(0); // no header bitmap
    stream.WriteU8(m_editor ? m_editor->Snap() : 0);
    stream.WriteU8(m_units);
    stream.WriteU8(m_dataAccessType);
    m_measure->VisitFields(writer);

    stream.WriteI32(m_title.FontHeight);
    stream.WriteU32(m_title.Color);
    stream.WriteI32(m_title.X);
    stream.WriteI32(m_title.Y);
    stream.WriteBool(m_title.PrintTitle);
    WriteAnsiString(m_title.FontName, stream);
    WriteWideString(m_title.Text, stream);

    bool showAlign = m_backSurf->ShowAlign();
    m_backSurf->VisitFields(writer, showAlign);

    stream.WriteU32(m_editor ? m_editor->GridColor() : 0);
    stream.WriteI32(m_editor ? m_editor->GridIncX() : 0);
    stream.WriteI32(m_editor ? m_editor->GridIncY() : 0);
    stream.WriteBool(m_editor && m_editor->GridShow());
    stream.WriteBool(m_editor && m_showMargins);
    stream.WriteU32(m_editor ? m_editor->SelColor() : 0);

    m_frame->VisitFields(writer);
    stream.WriteBool(m_dataEnabled);
    m_printInfo->VisitFields(writer);
    stream.WriteI32(0); // reserved

    stream.WriteI32(static_cast<std::int32_t>(m_elements.size()));
    for (TZVElement* element : m_elements) {
        stream.WriteU8(element->ElementKind());
        element->VisitFields(writer);
    }
    VisitContentFields(writer);
}

void TZVCustomLab::LoadFromStream(TZVMemoryStream& stream, bool asTemplate)
{
    replaceDesign([&] { readStream(stream, asTemplate, false); });
    m_pages.clear();
    m_undoStack->clear();
    showDesignRead();
}

void TZVCustomLab::LoadFromStreamRaw(TZVMemoryStream& stream)
{
    replaceDesign([&] { readStream(stream, false, true); });
    m_undoStack->clear();
}

void TZVCustomLab::readStream(TZVMemoryStream& stream, bool asTemplate, bool raw)
{
    // A restored snapshot keeps the data sets linked and opened as they are.
    const bool touchData = !asTemplate && !raw && !m_restoring;
    {
        const LoadScope scope(m_loading, m_loadMode, asTemplate ? 3 : 0);
        try {
            if (touchData && m_openCloseData && m_dataSet)
                m_dataSet->Close();
            m_currentElement = nullptr;

            // Header strings: version first in the current layout, after the strings before.
            SetLegacyStream(IsLegacyStream(stream));
            stream.SetPosition(0);
            HeaderStrings strings;
            bool oldest = false;
            bool hasDetailName = false;
            if (!LegacyStream()) {
                m_readVersion = stream.ReadI32();
                strings.fileImage = ReadWideString(stream);
                strings.dataSource = ReadWideString(stream);
                strings.tableName = ReadWideString(stream);
                strings.filter = ReadWideString(stream);
                hasDetailName = m_readVersion >= kDetailNameVersion;
                if (hasDetailName)
                    strings.detailName = ReadWideString(stream);
                strings.labelName = ReadWideString(stream);
                strings.paperName = ReadWideString(stream);
            } else {
                if (!readLegacyStrings(stream, strings)) {
                    stream.SetPosition(0);
                    readOldestStrings(stream, strings);
                    oldest = true;
                }
                m_readVersion = stream.ReadI32();
            }
            if (raw)
                m_backSurf->m_fileImage = strings.fileImage;
            else
                m_backSurf->SetFileImage(strings.fileImage);
            m_aliasTable.DatabaseName = strings.dataSource;
            m_dataSetName = strings.dataSource;
            m_aliasTable.TableName = strings.tableName;
            m_aliasTable.Filter = strings.filter;
            if (hasDetailName)
                m_detailName = strings.detailName;
            m_measure->SetLabelName(strings.labelName);
            m_measure->SetPaperName(strings.paperName);

            if (m_readVersion < kHeaderBitmapFlagVersion || stream.ReadU8() != 0)
                skipBitmap(stream);

            const auto snap = readEnum<TZVSnap>(stream);
            if (m_editor)
                m_editor->SetSnap(snap);
            m_units = readEnum<TZVUnits>(stream);
            auto access = readEnum<TZVDataAccessType>(stream);
            if (m_readVersion < kModelUnitVersion) {
                // Before version 20 there was no "none": 0 was the alias table, 1 the data set.
                if (access == 0)
                    access = daBDEAlias;
                else if (access == 1)
                    access = daDataSet;
            }
            m_dataAccessType = access;
            if (touchData && m_dataAccessType == daDataSet) {
                LinkDataSetByName(m_dataSetName, false, false);
                LinkDataSetByName(m_detailName, false, true);
            }

            TZVStreamReader reader(stream, m_readVersion);
            m_measure->VisitFields(reader);

            m_title.FontHeight = stream.ReadI32();
            if (m_readVersion >= kTitleColorVersion)
                m_title.Color = stream.ReadU32();
            m_title.X = stream.ReadI32();
            m_title.Y = stream.ReadI32();
            m_title.PrintTitle = stream.ReadBool();
            m_title.FontName = ReadAnsiString(stream);
            m_title.Text = oldest ? ReadAnsiString(stream) : ReadWideString(stream);

            // The guides and margins shown stay the reading label's, except in a raw read.
            bool showAlign = m_backSurf->m_showAlign;
            m_backSurf->VisitFields(reader, showAlign);
            const TZVColor gridColor = stream.ReadU32();
            const std::int32_t gridIncX = stream.ReadI32();
            const std::int32_t gridIncY = stream.ReadI32();
            const bool gridShow = stream.ReadBool();
            const bool showMargins = stream.ReadBool();
            const TZVColor selColor = stream.ReadU32();
            if (m_editor) {
                m_editor->SetGridSettings(gridColor, gridIncX, gridIncY, gridShow);
                m_editor->SetSelColor(selColor);
            }
            if (raw) {
                m_backSurf->m_showAlign = showAlign;
                m_showMargins = showMargins;
            }

            m_frame->VisitFields(reader);
            m_dataEnabled = stream.ReadBool();
            // Data-bound elements reach their data set while they load.
            if (touchData)
                OpenData(false, false);

            m_printInfo->VisitFields(reader);
            if (!raw && !m_restoring) {
                m_printInfo->m_printFrom = 1;
                m_printInfo->m_printTo = 0;
            }

            if (m_readVersion >= kModelUnitVersion)
                stream.ReadI32(); // reserved
            const std::int32_t count = stream.ReadI32();
            if (count < 0 || count > stream.Remaining() / kMinElementRecordBytes)
                readError();
            for (std::int32_t i = 0; i < count; ++i) {
                const std::uint8_t kind = stream.ReadU8();
                if (kind == ekAskText && m_readVersion == kForeignKindTenVersion)
                    readError();
                TZVElement* element = CreateElementOfKind(*this, kind);
                if (!element)
                    readError();
                element->LoadFromStream(stream);
                // A label that keeps no bitmaps still finds its place after one that another kept.
                if (kind == ekImage && !m_onlyBitmap && m_readVersion > kLastPicturelessVersion)
                    skipBitmap(stream);
            }
            VisitContentFields(reader);
            if (!m_restoring) {
                SetModified(false);
                m_dataOpen = touchData && OpenData(true, true);
            }
        } catch (const std::exception&) {
            // Whatever stopped the load, the caller decides what becomes of the elements read.
            throw EZvError(QString::fromLatin1(kErrorReadingFile));
        }
    }
    if (!raw && !m_restoring) {
        m_printInfo->m_firstRow = 1;
        m_printInfo->m_firstCol = 1;
    }
}

void TZVElement::SaveToStream(TZVMemoryStream& stream)
{
    stream.WriteU8(ElementKind());
    TZVStreamWriter writer(stream, m_owner->WriteVersion());
    VisitFields(writer);
}

void TZVElement::LoadFromStream(TZVMemoryStream& stream)
{
    TZVStreamReader reader(stream, m_owner->ReadVersion());
    VisitFields(reader);
}

} // namespace zorvel
