// Catalogue file reading and line parsing, applied to a label.
#include "FuzzSupport.h"
#include "dialogs/ZVLabelDefs.h"
#include "document/ZVCustomLab.h"
#include "foundation/ZVError.h"

#include <QDir>
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
    fuzz::EnsureGuiApp();
    static QTemporaryDir dir;
    g_path = dir.filePath(QStringLiteral("labels.dls"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The reader only takes files.
    {
        QFile file(g_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
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
