// Catalogue file reading and line parsing, applied to a label.
#include "FuzzSupport.h"
#include "printsupport/ZVLabelDefs.h"
#include "document/ZVCustomLab.h"
#include "foundation/ZVError.h"

#include <cstddef>
#include <cstdint>

using namespace zorvel;

namespace {
QString g_path;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnsureGuiApp();
    g_path = fuzz::ScratchPath("labels.dls");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!fuzz::WriteScratch(g_path, data, size))
        return 0;
    QStringList lines;
    try {
        ReadLabelDefsFile(g_path, lines);
        TZVLab label;
        for (const QString& line : lines) {
            const QStringList fields = SplitLabelDef(line);
            (void)SplitLabelDef(JoinLabelDef(fields));
            for (const QString& field : fields) {
                (void)ReadDefDecimal(field);
                (void)ReadDefInteger(field);
            }
            (void)DefUnits(fields);
            (void)DefLabelType(fields);
            if (AssignLabelDef(fields, label))
                (void)LabelDefFromLabel(label, fields.value(ldfName));
        }
    } catch (const EZvError&) {
    }
    return 0;
}
