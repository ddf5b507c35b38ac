// CSV data sets: open, walk every record and read every field.
#include "FuzzSupport.h"
#include "foundation/ZVError.h"
#include "platform/ZVCsvDataSet.h"

#include <cstddef>
#include <cstdint>

using namespace zorvel;

namespace {
QString g_path;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_path = fuzz::ScratchPath("data.csv");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!fuzz::WriteScratch(g_path, data, size))
        return 0;
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
