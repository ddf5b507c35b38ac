// Shared pieces of the element tests: a label with a recording editor, and a recording field visitor.
#pragma once

#include "../document/TestEditorLink.h"
#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVElement.h"
#include "foundation/ZVError.h"

#include <QImage>
#include <QMetaObject>
#include <QMetaProperty>

#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace zorvel {
inline void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}
inline void PrintTo(const TPoint& p, std::ostream* os)
{
    *os << "(" << p.X << ", " << p.Y << ")";
}
} // namespace zorvel

namespace zorvel::test {

// A 60 x 35 mm label (the default) shown on a 600 x 350 pixel surface: 10 model units a pixel.
class ElementTest : public ::testing::Test
{
protected:
    ElementTest()
    {
        editor.surfaceWidth = 600;
        editor.surfaceHeight = 350;
        label.SetEditor(&editor);
    }
    ~ElementTest() override { label.SetEditor(nullptr); }

    // Clears what the label and the editor recorded so far.
    void Forget()
    {
        editor.ResetRecord();
        label.SetModified(false);
    }

    TestEditorLink editor;
    TZVLab label;
};

// Published property names of a class in index order, without QObject's own.
inline std::vector<std::string> PublishedNames(const QMetaObject& meta)
{
    std::vector<std::string> names;
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta.propertyCount(); ++i)
        names.emplace_back(meta.property(i).name());
    return names;
}

// Writing, it records names and values in visit order; reading, it records the names and feeds
// the values a test put in `numbers`, `strings` and `picture` (fields not given stay untouched).
class RecordingVisitor final : public TZVFieldVisitor
{
public:
    RecordingVisitor(std::int32_t version, bool reading) : m_version(version), m_reading(reading) {}

    std::int32_t Version() const override { return m_version; }
    bool Reading() const override { return m_reading; }

    void U8(const char* name, std::uint8_t& value) override { number(name, value); }
    void Bool(const char* name, bool& value) override { number(name, value); }
    void U16(const char* name, std::uint16_t& value) override { number(name, value); }
    void I32(const char* name, std::int32_t& value) override { number(name, value); }
    void Color(const char* name, TZVColor& value) override { number(name, value); }
    void WStr(const char* name, QString& value, bool ansi) override
    {
        ansiNames[name] = ansi;
        text(name, value);
    }
    void AStr(const char* name, QString& value) override { text(name, value); }
    void Picture(const char* name, QImage& value, bool& present) override
    {
        names.emplace_back(name);
        if (!m_reading) {
            picture = value;
            picturePresent = present;
            return;
        }
        if (!pictureError.isEmpty()) throw EZvError(pictureError);
        value = picture;
        present = !picture.isNull();
    }
    void Records(const char* name, int count, const std::function<void(int)>& resize,
                 const std::function<void(int)>& item, int) override
    {
        names.emplace_back(name);
        if (m_reading) resize(count);
        for (int i = 0; i < count; ++i)
            item(i);
    }

    std::vector<std::string> names;
    std::map<std::string, std::int64_t> numbers;
    std::map<std::string, QString> strings;
    std::map<std::string, bool> ansiNames;
    QImage picture;
    bool picturePresent = false;
    // Reading, Picture raises EZvError with this text when it is set.
    QString pictureError;

private:
    template <typename T> void number(const char* name, T& value)
    {
        names.emplace_back(name);
        if (!m_reading) {
            numbers[name] = static_cast<std::int64_t>(value);
            return;
        }
        if (const auto it = numbers.find(name); it != numbers.end()) value = static_cast<T>(it->second);
    }
    void text(const char* name, QString& value)
    {
        names.emplace_back(name);
        if (!m_reading) {
            strings[name] = value;
            return;
        }
        if (const auto it = strings.find(name); it != strings.end()) value = it->second;
    }

    std::int32_t m_version;
    bool m_reading;
};

// The base record's field names in stream order for a given layout version.
inline std::vector<std::string> BaseFieldNames(std::int32_t version)
{
    std::vector<std::string> names{"Color",       "BackColor", "BorderColor", "Reserved",  "ShowBorder",
                                   "Transparent", "Print",     "PenWidth",    "X1",        "Y1",
                                   "X2",          "Y2",        "Angle",       "Separation"};
    if (version > 19) names.insert(names.end(), {"AnchorMargin", "AnchorPos"});
    if (version > 2299) names.insert(names.end(), {"PaddingX", "PaddingY", "BorderRadio"});
    names.emplace_back("ID");
    return names;
}

inline std::vector<std::string> DataFieldNames(std::int32_t version)
{
    std::vector<std::string> names{"FontName", "BoundField", "FontHeight", "Data"};
    if (version > 18) names.emplace_back("DataReserved");
    return names;
}

inline std::vector<std::string> Joined(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace zorvel::test
