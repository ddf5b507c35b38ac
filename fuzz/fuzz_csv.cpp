// CSV data sets: open, walk every record and read every field.
#include "foundation/ZVError.h"
#include "platform/ZVCsvDataSet.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace zorvel;

namespace {
QString g_path;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static QTemporaryDir dir;
    g_path = dir.filePath(QStringLiteral("data.csv"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The data set only reads files.
    {
        QFile file(g_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    TZVCsvDataSet csv;
    csv.SetFileName(g_path);
    try {
        csv.Open();
        for (csv.First(); !csv.Eof(); csv.Next()) {
            for (int i = 0; i < csv.FieldCount(); ++i) {
                TZVField& field = csv.Fields(i);
                (void)field.AsWideString();
                (void)field.AsInteger();
                (void)field.AsFloat();
                (void)field.AsDateTime();
            }
        }
        csv.Close();
    } catch (const EZvError&) {
    }
    return 0;
}
