// Filter texts: parse, bind to fields of every kind, evaluate.
#include "foundation/ZVError.h"
#include "foundation/ZVFilterExpr.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cstddef>
#include <cstdint>

using namespace zorvel;

namespace {

struct TColumn
{
    const char* Name;
    TZVFieldKind Kind;
    QVariant Value;
};

const std::vector<TColumn>& Columns()
{
    static const std::vector<TColumn> columns = {
        {"ID", fkInteger, QVariant(qlonglong(42))},
        {"BIG", fkLargeInt, QVariant(qlonglong(9'000'000'000'000'000'000LL))},
        {"PRICE", fkFloat, QVariant(12.5)},
        {"CUR", fkCurrency, QVariant(-0.0)},
        {"OK", fkBoolean, QVariant(true)},
        {"DAY", fkDate, QVariant(QDate(2024, 3, 1))},
        {"AT", fkTime, QVariant(QTime(12, 30))},
        {"STAMP", fkDateTime, QVariant(QDateTime(QDate(2024, 3, 1), QTime(8, 0)))},
        {"NAME", fkString, QVariant(QStringLiteral("O'Brien"))},
        {"MEMO", fkMemo, QVariant(QString())},
        {"BLOB", fkBlob, QVariant(QByteArray("\x00\x01", 2))},
        {"NOTHING", fkString, QVariant()},
        {"ANY", fkUnknown, QVariant(QStringLiteral("1e3"))},
    };
    return columns;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto& columns = Columns();
    try {
        TZVFilterExpr expr(text);
        (void)expr.IsEmpty();
        (void)expr.FieldNames();
        expr.Bind([&](const QString& name) -> std::optional<TZVFilterExpr::TFieldRef> {
            for (std::size_t i = 0; i < columns.size(); ++i)
                if (name.compare(QLatin1StringView(columns[i].Name), Qt::CaseInsensitive) == 0)
                    return TZVFilterExpr::TFieldRef{static_cast<int>(i), columns[i].Kind};
            return std::nullopt;
        });
        (void)expr.Matches([&](int index) { return columns.at(static_cast<std::size_t>(index)).Value; });
    } catch (const EZvError&) {
    }
    return 0;
}
