// The design fingerprint: the stream writer's bytes, measured corners and picture pixels left out.
#include "document/ZVDesignDigest.h"

#include "document/ZVCustomLab.h"
#include "document/ZVStreamVisitors.h"
#include "document/ZVElement.h"
#include "foundation/ZVStream.h"

#include <QCryptographicHash>

#include <cstring>

namespace zorvel {
namespace {

// Writes what the stream writer writes, with the exceptions the fingerprint makes.
class DigestWriter final : public TZVFieldVisitor
{
public:
    // The label's newest layout, the only one that keeps every character of every text.
    DigestWriter(TZVMemoryStream& out, std::int32_t version) : m_writer(out, version) {}

    bool blindCorner = false;

    std::int32_t Version() const override { return m_writer.Version(); }
    bool Reading() const override { return false; }
    void U8(const char* name, std::uint8_t& value) override { m_writer.U8(name, value); }
    void Bool(const char* name, bool& value) override { m_writer.Bool(name, value); }
    void U16(const char* name, std::uint16_t& value) override { m_writer.U16(name, value); }
    void I32(const char* name, std::int32_t& value) override
    {
        std::int32_t none = 0;
        const bool corner = std::strcmp(name, "X2") == 0 || std::strcmp(name, "Y2") == 0;
        m_writer.I32(name, blindCorner && corner ? none : value);
    }
    void Color(const char* name, TZVColor& value) override { m_writer.Color(name, value); }
    void WStr(const char* name, QString& value, bool ansi) override { m_writer.WStr(name, value, ansi); }
    void AStr(const char* name, QString& value) override { m_writer.AStr(name, value); }
    // A picture is only ever replaced, never drawn on: its identity stands for its pixels.
    void Picture(const char* name, QImage& picture, bool& present) override
    {
        const qint64 key = present ? picture.cacheKey() : 0;
        auto low = static_cast<std::int32_t>(key);
        auto high = static_cast<std::int32_t>(key >> 32);
        m_writer.I32(name, low);
        m_writer.I32(name, high);
    }
    void Records(const char* name, int count, const std::function<void(int)>& resize,
                 const std::function<void(int)>& item, int minRecordBytes) override
    {
        m_writer.Records(name, count, resize, item, minRecordBytes);
    }

private:
    TZVStreamWriter m_writer;
};

} // namespace

QByteArray DesignDigest(TZVCustomLab& label)
{
    TZVMemoryStream bytes;
    DigestWriter writer(bytes, label.WriteVersion());
    label.VisitHeaderFields(writer);
    for (TZVElement* element : label.Elements()) {
        std::uint8_t kind = element->ElementKind();
        writer.U8("Kind", kind);
        writer.blindCorner = element->CornerMeasuredByPaint();
        element->VisitFields(writer);
        writer.blindCorner = false;
    }
    return QCryptographicHash::hash(bytes.Bytes(), QCryptographicHash::Sha1);
}

} // namespace zorvel
