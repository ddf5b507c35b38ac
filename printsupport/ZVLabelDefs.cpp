// The label definitions catalogue: splitting and joining lines, numbers in fixed separators,
// applying a definition to a label, and the catalogue file.
#include "printsupport/ZVLabelDefs.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "foundation/ZVAnsi.h"
#include "foundation/ZVStrings.h"
#include "foundation/ZVUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cmath>

namespace zorvel {
namespace {

constexpr QChar kSeparator = u'|';
constexpr QChar kQuote = u'^';

// What a missing field reads as: empty texts, 0 for the ordinals and lengths, 1 for the counts.
// clang-format off
constexpr std::array<const char16_t*, kLabelDefFieldCount> kFieldDefaults = {
    /* 0-4 */   u"", u"0", u"", u"0", u"0",
    /* 5-9 */   u"0", u"0", u"0", u"0", u"0",
    /* 10-13 */ u"0", u"0", u"1", u"1",
};
// clang-format on

void padFields(QStringList& fields)
{
    while (fields.size() < kLabelDefFieldCount)
        fields.append(QString::fromUtf16(kFieldDefaults[static_cast<std::size_t>(fields.size())]));
}

QString withoutLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

bool needsQuotes(const QString& field)
{
    for (const QChar c : field)
        if (c == kSeparator || c == kQuote || c.unicode() <= u' ') return true;
    return false;
}

// "1234567" -> "1.234.567"
QString groupThousands(const QString& digits)
{
    QString grouped;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) grouped += u'.';
        grouped += digits[i];
    }
    return grouped;
}

double modelPerUnit(TZVUnits units)
{
    switch (units) {
    case unINCH:
        return kModelPerInch;
    case unCM:
        return kModelPerCm;
    case unMM:
        break;
    }
    return kModelPerMm;
}

TZVLabelDefsResult failure(const QString& text)
{
    return {false, text};
}

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A LabelDefs value: '\' from designs made elsewhere is a separator; relative paths are taken
// against the current directory, as the translation file's are.
QString resolveLabelDefs(const QString& labelDefs)
{
    if (labelDefs.trimmed().isEmpty()) return {};
    QString path = labelDefs;
    path.replace(u'\\', u'/');
    return QFileInfo(path).absoluteFilePath();
}

bool isExistingFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

// ---- One definition line --------------------------------------------------------------------

QStringList SplitLabelDef(QStringView line)
{
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype i = 0;
    for (;;) {
        QString field;
        if (i < n && line[i] == kQuote) {
            ++i;
            while (i < n) {
                if (line[i] == kQuote) {
                    if (i + 1 < n && line[i + 1] == kQuote) {
                        field += kQuote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
        }
        // Unquoted text, or what a hand edit left after a closing quote, runs to the separator.
        while (i < n && line[i] != kSeparator)
            field += line[i++];
        fields.append(field);
        if (i >= n) break;
        ++i;
    }
    padFields(fields);
    return fields;
}

QString QuoteLabelDefField(const QString& field)
{
    QString quoted = withoutLineBreaks(field);
    quoted.replace(kQuote, QStringLiteral("^^"));
    return kQuote + quoted + kQuote;
}

QString JoinLabelDef(const QStringList& fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) line += kSeparator;
        const QString field = withoutLineBreaks(fields[i]);
        line += needsQuotes(field) ? QuoteLabelDefField(field) : field;
    }
    return line;
}

QString FormatDefFixed(double value, int decimals)
{
    if (!std::isfinite(value)) value = 0;
    decimals = std::clamp(decimals, 0, 15);
    const QString plain = QString::number(std::abs(value), 'f', decimals); // C locale: "1234.50"
    const qsizetype point = plain.indexOf(u'.');
    QString text = groupThousands(point < 0 ? plain : plain.left(point));
    if (point >= 0) text += u',' + plain.mid(point + 1);
    // No "-0,00" for a value that rounds to zero.
    if (value < 0 && std::any_of(plain.begin(), plain.end(), [](QChar c) { return c >= u'1' && c <= u'9'; }))
        text.prepend(u'-');
    return text;
}

QString FormatDefGeneral(double value)
{
    if (!std::isfinite(value) || value == 0) return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', u',');
    return text;
}

QString FormatDefLength(int modelValue, TZVUnits units)
{
    const double exact = modelValue / modelPerUnit(units);
    // Four places of an inch, three of a centimetre and two of a millimetre hold every model value.
    for (int decimals = 2; decimals < 4; ++decimals) {
        const double shown = QString::number(exact, 'f', decimals).toDouble();
        if (ToModel(shown, units) == modelValue) return FormatDefFixed(shown, decimals);
    }
    return FormatDefFixed(exact, 4);
}

double ReadDefDecimal(QStringView field)
{
    // Optional sign, digits (thousands grouped by '.' in threes), optional ',' decimals, exponent.
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d{1,3}(?:\\.\\d{3})+|\\d*)(?:,(\\d*))?(?:[eE][+-]?\\d+)?$"));
    const QString text = field.trimmed().toString();
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch() || (match.capturedLength(1) == 0 && match.capturedLength(2) == 0)) return 0;
    QString plain = text;
    plain.remove(u'.');
    plain.replace(u',', u'.');
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

int ReadDefInteger(QStringView field)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok, 10);
    return ok ? value : 1;
}

int FindPaperType(QStringView name)
{
    const auto papers = PaperTypes();
    const QStringView wanted = name.trimmed();
    for (std::size_t i = 0; i < papers.size(); ++i)
        if (wanted.compare(papers[i].Name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

int UserPaperIndex()
{
    const auto papers = PaperTypes();
    for (std::size_t i = 0; i < papers.size(); ++i)
        if (papers[i].PaperCode == kUserPaperCode) return static_cast<int>(i);
    return kPaperTypeCount - 1;
}

bool IsContinuousLabelDef(const QStringList& fields)
{
    return fields.value(ldfContinuous).trimmed() == u"1";
}

TZVUnits DefUnits(const QStringList& fields)
{
    const int units = ReadDefInteger(fields.value(ldfUnits, QStringLiteral("0")));
    return units >= unMM && units <= unCM ? static_cast<TZVUnits>(units) : unMM;
}

TZorvelType DefLabelType(const QStringList& fields)
{
    return ReadDefInteger(fields.value(ldfLabelType, QStringLiteral("0"))) == ltCircle ? ltCircle : ltRect;
}

QString LabelDefFromLabel(const TZVCustomLab& label, const QString& name)
{
    const TZVMeasure& m = label.Measure();
    const TZVUnits units = label.Units();
    const auto length = [units](int modelValue) { return FormatDefLength(modelValue, units); };
    // The sheet as it is laid out: a landscape label keeps its paper unswapped, the line does not,
    // so that assigning the line back gives the same sheet.
    const bool landscape = label.PrintInfo().Orientation == 1;
    const int paperWidth = landscape ? m.PaperHeight() : m.PaperWidth();
    const int paperHeight = landscape ? m.PaperWidth() : m.PaperHeight();
    QStringList fields = {
        QuoteLabelDefField(name),
        QString::number(static_cast<int>(units)),
        QuoteLabelDefField(m.PaperName()),
        QString::number(static_cast<int>(m.LabelType())),
        length(paperWidth),
        length(paperHeight),
        length(m.Width()),
        length(m.Height()),
        length(m.DiHor()),
        length(m.DiVer()),
        length(m.MarLeft()),
        length(m.MarTop()),
        QString::number(m.NuVer()),
        QString::number(m.NuHor()),
    };
    if (m.AutoLengthApplies()) fields << QStringLiteral("1");
    return fields.join(kSeparator);
}

bool AssignLabelDef(const QStringList& fields, TZVCustomLab& label)
{
    QStringList f = fields;
    padFields(f);
    const int paperIndex = FindPaperType(f[ldfPaperName]);
    if (paperIndex < 0) return false;
    const TPaperType& paper = PaperType(paperIndex);
    const auto decimal = [&f](TZVLabelDefField field) { return float(ReadDefDecimal(f[field])); };

    if (TZVEditorLink* editor = label.Editor()) editor->ClearSelection();
    label.SetUnits(DefUnits(f));
    TZVMeasure& m = label.Measure();
    m.SetPaperName(paper.Name);
    m.SetPaper(paper.Width, paper.Height, paper.PaperCode);
    const float sheetWidth = decimal(ldfPaperWidth);
    const float sheetHeight = decimal(ldfPaperHeight);
    if (paperIndex == UserPaperIndex()) {
        m.SetPaperWidth(sheetWidth);
        m.SetPaperHeight(sheetHeight);
        label.PrintInfo().Orientation = 0;
    } else {
        // A table paper keeps its own size; a line that turns it sideways asks for landscape.
        const bool lineLandscape = sheetWidth > sheetHeight;
        const bool tableLandscape = paper.Width > paper.Height;
        label.PrintInfo().Orientation = lineLandscape != tableLandscape ? 1 : 0;
    }
    m.SetLabelType(DefLabelType(f));
    m.SetWidth(decimal(ldfWidth));
    m.SetHeight(decimal(ldfHeight));
    // Classic lines say nothing about a hole and leave the label's as it is.
    if (f.size() > ldfHole) m.SetInnerCircle(decimal(ldfHole));
    m.SetDiHor(decimal(ldfDiHor));
    m.SetDiVer(decimal(ldfDiVer));
    m.SetMarLeft(decimal(ldfMarLeft));
    m.SetMarTop(decimal(ldfMarTop));
    m.SetNuVer(std::clamp(ReadDefInteger(f[ldfNuVer]), 1, kMaxLabelDefCount));
    m.SetNuHor(std::clamp(ReadDefInteger(f[ldfNuHor]), 1, kMaxLabelDefCount));
    m.SetAutoLength(IsContinuousLabelDef(f));
    if (TZVEditorLink* editor = label.Editor()) {
        editor->RecalcSize();
        editor->Refresh(true);
    }
    return true;
}

// ---- The catalogue file ---------------------------------------------------------------------

TZVLabelDefsPlaces TZVLabelDefsPlaces::Standard()
{
    TZVLabelDefsPlaces places;
    if (QCoreApplication::instance()) places.ProgramDir = QCoreApplication::applicationDirPath();
    places.UserDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    places.StarterFile = QStringLiteral(":/zorvel/labels.dls");
    return places;
}

TZVLabelDefsResult ReadLabelDefsFile(const QString& path, QStringList& lines)
{
    lines.clear();
    const QFileInfo info(path);
    if (!info.exists()) return {};
    const QString shown = displayPath(path);
    if (!info.isFile())
        return failure(QStringLiteral("The label definitions file %1 is not a file.").arg(shown));
    const auto tooLarge = [&shown] {
        return failure(QStringLiteral("The label definitions file %1 is larger than %2 KB.")
                           .arg(shown)
                           .arg(kMaxLabelDefsBytes / 1024));
    };
    if (info.size() > kMaxLabelDefsBytes) return tooLarge();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("The label definitions file %1 cannot be read: %2")
                           .arg(shown, file.errorString()));
    // Bounded even when the size above was wrong (a file still growing, a device).
    const QByteArray bytes = file.read(kMaxLabelDefsBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("The label definitions file %1 cannot be read: %2")
                           .arg(shown, file.errorString()));
    if (bytes.size() > kMaxLabelDefsBytes) return tooLarge();
    if (bytes.contains('\0'))
        return failure(QStringLiteral("The file %1 is not a label definitions file.").arg(shown));

    static const QByteArray utf8Bom("\xEF\xBB\xBF");
    const QString text =
        bytes.startsWith(utf8Bom) ? QString::fromUtf8(bytes.mid(utf8Bom.size())) : AnsiToQString(bytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        if (!line.trimmed().isEmpty()) lines.append(line.toString());
    }
    return {};
}

TZVLabelDefsResult WriteLabelDefsFile(const QString& path, const QStringList& lines)
{
    const QString shown = displayPath(path);
    const QFileInfo info(path);
    const QString dir = info.absolutePath();
    if (!QDir(dir).exists() && !QDir().mkpath(dir))
        return failure(QStringLiteral("The label definitions file %1 cannot be written: "
                                      "the folder %2 cannot be created.")
                           .arg(shown, displayPath(dir)));

    QString text;
    for (const QString& line : lines)
        text += withoutLineBreaks(line) + u'\n';
    QByteArray bytes = QStringToAnsi(text);
    if (AnsiToQString(bytes) != text) bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();

    QSaveFile file(path);
    const auto writeFailure = [&] {
        return failure(QStringLiteral("The label definitions file %1 cannot be written: %2")
                           .arg(shown, file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly)) return writeFailure();
    // An explicit flush: commit() renames even when flushing the last buffered bytes failed.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const TZVLabelDefsResult result = writeFailure();
        file.cancelWriting(); // the temporary file goes with `file`
        return result;
    }
    if (!file.commit()) return writeFailure();
    return {};
}

TZVLabelDefs::TZVLabelDefs(TZVLabelDefsPlaces places) : m_places(std::move(places)) {}

QString TZVLabelDefs::WritePath(const QString& labelDefs) const
{
    const QString own = resolveLabelDefs(labelDefs);
    if (isExistingFile(own)) return own;
    if (!m_places.ProgramDir.isEmpty()) {
        const QString beside = QDir(m_places.ProgramDir).absoluteFilePath(kLabelDefsFileName);
        const QFileInfo file(beside);
        const QFileInfo folder(m_places.ProgramDir);
        const bool writable =
            file.exists() ? file.isFile() && file.isWritable() : folder.isDir() && folder.isWritable();
        if (writable || m_places.UserDir.isEmpty()) return beside;
    }
    if (m_places.UserDir.isEmpty()) return {};
    return QDir(m_places.UserDir).absoluteFilePath(kLabelDefsFileName);
}

QString TZVLabelDefs::ReadPath(const QString& labelDefs) const
{
    const QStringList candidates = {
        WritePath(labelDefs),
        m_places.ProgramDir.isEmpty() ? QString()
                                      : QDir(m_places.ProgramDir).absoluteFilePath(kLabelDefsFileName),
        m_places.UserDir.isEmpty() ? QString() : QDir(m_places.UserDir).absoluteFilePath(kLabelDefsFileName),
        m_places.StarterFile,
    };
    for (const QString& path : candidates)
        if (isExistingFile(path)) return path;
    return {};
}

TZVLabelDefsResult TZVLabelDefs::Load(const QString& labelDefs)
{
    m_writeTo = WritePath(labelDefs);
    m_readFrom = ReadPath(labelDefs);
    m_loadFailed = false;
    TZVLabelDefsResult result;
    if (m_readFrom.isEmpty())
        m_lines.clear();
    else
        result = ReadLabelDefsFile(m_readFrom, m_lines);
    m_loadFailed = !result.Ok;
    m_loaded = m_lines;
    return result;
}

TZVLabelDefsResult TZVLabelDefs::Save()
{
    if (m_loadFailed)
        return failure(QStringLiteral("The label definitions were not saved, so that %1 is kept as "
                                      "it is.")
                           .arg(displayPath(m_readFrom)));
    if (!Modified()) return {};
    if (m_writeTo.isEmpty())
        return failure(QStringLiteral("The label definitions cannot be saved: there is no folder "
                                      "to write them to."));
    const TZVLabelDefsResult result = WriteLabelDefsFile(m_writeTo, m_lines);
    if (result.Ok) {
        m_loaded = m_lines;
        m_readFrom = m_writeTo;
    }
    return result;
}

} // namespace zorvel
