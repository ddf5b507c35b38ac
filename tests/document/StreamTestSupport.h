// Helpers of the stream and JSON tests: a byte builder for hand-made streams, visitors that fill
// and record every persisted field, and a label holding one element of each kind.
#pragma once

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVElement.h"
#include "document/ZVElementRegistry.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QStringList>

#include <functional>
#include <ostream>

namespace zorvel::test {

// Little-endian bytes as the stream layout spells them.
class StreamBuilder
{
public:
    StreamBuilder& u8(int v)
    {
        m_bytes.append(static_cast<char>(v));
        return *this;
    }
    StreamBuilder& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    StreamBuilder& i32(std::int64_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        return u8(u & 0xFF).u8((u >> 8) & 0xFF).u8((u >> 16) & 0xFF).u8(u >> 24);
    }
    // Current layout: character count, byte count in 7-bit groups, UTF-16LE.
    StreamBuilder& wstr(const QString& s)
    {
        i32(s.size());
        if (s.isEmpty())
            return *this;
        for (std::uint64_t n = std::uint64_t(s.size()) * 2;;) {
            const int group = n & 0x7F;
            n >>= 7;
            u8(n ? group | 0x80 : group);
            if (!n)
                break;
        }
        return utf16(s);
    }
    // Legacy layout: no byte count.
    StreamBuilder& legacyWstr(const QString& s)
    {
        i32(s.size());
        return utf16(s);
    }
    StreamBuilder& astr(const QByteArray& s)
    {
        i32(s.size());
        return raw(s);
    }
    StreamBuilder& raw(const QByteArray& b)
    {
        m_bytes.append(b);
        return *this;
    }
    StreamBuilder& zeros(int n) { return raw(QByteArray(n, '\0')); }

    const QByteArray& bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }

private:
    StreamBuilder& utf16(const QString& s)
    {
        for (QChar c : s)
            u16(c.unicode());
        return *this;
    }

    QByteArray m_bytes;
};

// Gives every visited field a distinct value that survives a write and a read of the current
// layout: plain bytes stay below 3, so that no reader maps them, enumerations inside their range.
class FieldFiller final : public TZVFieldVisitor
{
public:
    explicit FieldFiller(int seed) : m_n(seed) {}

    std::int32_t Version() const override { return kStreamVersion; }
    bool Reading() const override { return true; }
    void U8(const char*, std::uint8_t& v) override { v = next() % 3; }
    void Ordinal(const char*, std::uint8_t& v, int count) override { v = static_cast<std::uint8_t>(next() % count); }
    void Bool(const char*, bool& v) override { v = next() % 2; }
    void U16(const char*, std::uint16_t& v) override { v = static_cast<std::uint16_t>(0x2600 + next()); }
    void I32(const char*, std::int32_t& v) override { v = 37 * next() + 1; }
    void Color(const char*, TZVColor& v) override { v = 0x00010203u * static_cast<TZVColor>(next()); }
    void WStr(const char*, QString& v, bool) override { v = QStringLiteral("W\u00fc\u20ac\u4e2d%1").arg(next()); }
    void AStr(const char*, QString& v) override { v = QStringLiteral("A\u00e9%1").arg(next()); }
    void Picture(const char*, QImage& picture, bool& present) override
    {
        picture = QImage(3, 2, QImage::Format_RGB32);
        picture.fill(qRgb(next() % 256, 40, 200));
        present = true;
    }
    void Records(const char*, int, const std::function<void(int)>& resize, const std::function<void(int)>& item,
                 int) override
    {
        resize(2);
        item(0);
        item(1);
    }

private:
    int next() { return ++m_n; }
    int m_n;
};

// Records every visited field as "name=value", records and pictures included.
class FieldRecorder final : public TZVFieldVisitor
{
public:
    QStringList fields;

    std::int32_t Version() const override { return kStreamVersion; }
    bool Reading() const override { return false; }
    void U8(const char* n, std::uint8_t& v) override { add(n, QString::number(v)); }
    void Bool(const char* n, bool& v) override { add(n, v ? "true" : "false"); }
    void U16(const char* n, std::uint16_t& v) override { add(n, QString::number(v)); }
    void I32(const char* n, std::int32_t& v) override { add(n, QString::number(v)); }
    void Color(const char* n, TZVColor& v) override { add(n, QString::number(v)); }
    void WStr(const char* n, QString& v, bool) override { add(n, v); }
    void AStr(const char* n, QString& v) override { add(n, v); }
    void Picture(const char* n, QImage& picture, bool& present) override
    {
        add(n, present ? QStringLiteral("%1x%2 %3").arg(picture.width()).arg(picture.height()).arg(picture.pixel(0, 0))
                       : QStringLiteral("none"));
    }
    void Records(const char* n, int count, const std::function<void(int)>&, const std::function<void(int)>& item,
                 int) override
    {
        add(n, QString::number(count));
        for (int i = 0; i < count; ++i)
            item(i);
    }

private:
    void add(const char* name, const QString& value) { fields << QString::fromLatin1(name) + u'=' + value; }
};

inline QStringList recordFields(TZVElement& element)
{
    FieldRecorder recorder;
    element.VisitFields(recorder);
    return recorder.fields;
}

// The value recorded for `name` (the last one when a name repeats); empty when absent.
inline QString recordedValue(TZVElement& element, const QString& name)
{
    QString value;
    for (const QString& field : recordFields(element))
        if (field.startsWith(name + u'='))
            value = field.mid(name.size() + 1);
    return value;
}

inline bool hasField(TZVElement& element, const QString& name)
{
    for (const QString& field : recordFields(element))
        if (field.startsWith(name + u'='))
            return true;
    return false;
}

// One element of each kind 1..10, every field given a distinct value.
inline void addEveryKind(TZVCustomLab& label, int seed = 0)
{
    for (int kind = ekLine; kind <= ekAskText; ++kind) {
        TZVElement* element = CreateElementOfKind(label, kind);
        ASSERT_NE(element, nullptr) << "kind " << kind;
        FieldFiller filler(seed + 1000 * kind);
        element->VisitFields(filler);
    }
}

inline QByteArray saved(TZVCustomLab& label)
{
    TZVMemoryStream stream;
    label.SaveToStream(stream);
    return stream.Bytes();
}

inline void load(TZVCustomLab& label, const QByteArray& bytes, bool asTemplate = false)
{
    TZVMemoryStream stream(bytes);
    label.LoadFromStream(stream, asTemplate);
}

// Runs `action` and expects EZvError with exactly `message`.
inline void expectError(const std::function<void()>& action, const QString& message)
{
    try {
        action();
        ADD_FAILURE() << "no error raised, expected " << message.toStdString();
    } catch (const EZvError& e) {
        EXPECT_EQ(e.message(), message);
    }
}

inline void expectReadError(const std::function<void()>& action)
{
    expectError(action, QStringLiteral("ERROR READING FILE"));
}

// Keeps the process-wide legacy flag from leaking between tests.
class StreamTest : public testing::Test
{
protected:
    void SetUp() override { SetLegacyStream(false); }
    void TearDown() override { SetLegacyStream(false); }
};

} // namespace zorvel::test
