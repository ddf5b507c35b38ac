// The label definitions catalogue ("labels.dls"): line format, numbers, file places, load and save.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_print_export.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>

namespace zorvel {

class TZVCustomLab;

// ---- One definition line --------------------------------------------------------------------

/// Fields of a line, numbered as they stand in the file. Lengths are in the line's own unit.
enum TZVLabelDefField : int
{
    ldfName,      ///< the definition's name, shown in the list
    ldfUnits,     ///< TZVUnits ordinal
    ldfPaperName, ///< a name of the paper table
    ldfLabelType, ///< TZorvelType ordinal
    ldfPaperWidth,
    ldfPaperHeight,
    ldfWidth,
    ldfHeight,
    ldfDiHor,
    ldfDiVer,
    ldfMarLeft,
    ldfMarTop,
    ldfNuVer, ///< labels per row
    ldfNuHor, ///< rows
    /// Optional: "1" for a continuous roll, whose label height is the longest the roll allows;
    /// assigning the line switches AutoLength on. Readers without it see a long label.
    ldfContinuous,
    /// Optional fields of a stock from a maker's catalogue (see ZVStock.h); older readers keep
    /// them untouched.
    /// @{
    ldfBrand,
    ldfPart,
    ldfDescription,
    ldfShape,  ///< "rectangle", "round", "ellipse" or "disc"
    ldfRadius, ///< corner radius of a rectangle
    ldfHole,   ///< radius of a disc's hole; assigning the line sets the label's inner circle
    ldfLayouts, ///< grids on one sheet; more than one cannot be assigned
    ldfSource,  ///< where the stock came from: "gLabels", an imported file's path
    /// @}
};
/// Fields a complete line has; a continuous roll's line has one more (ldfContinuous).
inline constexpr int kLabelDefFieldCount = 14;
/// Whether a line is a continuous roll's (its ldfContinuous field is "1").
ZORVEL_PRINT_EXPORT bool IsContinuousLabelDef(const QStringList& fields);
/// Rows and columns a definition may ask for; a hand-edited line cannot ask for millions.
inline constexpr int kMaxLabelDefCount = 50;

/// Splits a line at '|'. A field enclosed in '^' may hold separators, with an inner '^' doubled.
/// A line with too few fields is padded with defaults (empty texts, 0 for numbers and ordinals,
/// 1 for the counts); fields beyond the fourteenth are kept.
ZORVEL_PRINT_EXPORT QStringList SplitLabelDef(QStringView line);
/// Joins fields with '|', enclosing only those that need it. Line breaks inside a field would
/// split the line in the file, so they are written as spaces.
ZORVEL_PRINT_EXPORT QString JoinLabelDef(const QStringList& fields);
/// A field always enclosed in '^' (the name and paper name of a line added from a label).
ZORVEL_PRINT_EXPORT QString QuoteLabelDefField(const QString& field);

/// Numbers use ',' as the decimal separator and '.' between thousands, whatever the locale.
/// "###,##0.00" with `decimals` places: 1234.5 -> "1.234,50".
ZORVEL_PRINT_EXPORT QString FormatDefFixed(double value, int decimals = 2);
/// The shortest general form: 60.5 -> "60,5", 60 -> "60".
ZORVEL_PRINT_EXPORT QString FormatDefGeneral(double value);
/// A length of the model in `units`, as a line added from a label writes it: "###,##0.00", with
/// a third or fourth place only when the label's exact size needs it (2.625 inches).
ZORVEL_PRINT_EXPORT QString FormatDefLength(int modelValue, TZVUnits units);
/// A decimal field; 0 when it does not convert. Thousands separators must group three digits.
ZORVEL_PRINT_EXPORT double ReadDefDecimal(QStringView field);
/// An integer field; 1 when it does not convert.
ZORVEL_PRINT_EXPORT int ReadDefInteger(QStringView field);

/// Index of a paper-table entry by name, without regard to case; -1 when the table lacks it.
ZORVEL_PRINT_EXPORT int FindPaperType(QStringView name);
/// Index of the paper table's user-defined entry ("User").
ZORVEL_PRINT_EXPORT int UserPaperIndex();
/// Units and label type of a line; an ordinal outside the enumeration reads as its first value.
/// @{
ZORVEL_PRINT_EXPORT TZVUnits DefUnits(const QStringList& fields);
ZORVEL_PRINT_EXPORT TZorvelType DefLabelType(const QStringList& fields);
/// @}

/// The line "Add" builds from the label: name and paper name enclosed, lengths in the label's unit;
/// a roll design with AutoLength is a continuous roll's line.
ZORVEL_PRINT_EXPORT QString LabelDefFromLabel(const TZVCustomLab& label, const QString& name);
/// Sets the label's units, paper, orientation, type, sizes, gaps, margins and counts from a line,
/// through the label's setters and their limits (counts also kept to 1..kMaxLabelDefCount), and
/// AutoLength on for a continuous roll, off for any other line; a line that names a hole sets the
/// inner circle. False, with the label untouched,
/// when the paper name is not in the paper table.
ZORVEL_PRINT_EXPORT bool AssignLabelDef(const QStringList& fields, TZVCustomLab& label);

// ---- The catalogue file ---------------------------------------------------------------------

/// File name of a catalogue in the program's and the user's folder.
inline constexpr const char* kLabelDefsFileName = "labels.dls";
/// A catalogue is a few kilobytes; anything far beyond is not one (about 12,000 lines of 80 bytes).
inline constexpr std::int64_t kMaxLabelDefsBytes = 1024 * 1024;

/// Where catalogues are looked for. Standard() gives the program's folder, the user's data folder
/// and the starter catalogue compiled into the library; tests point them elsewhere.
struct ZORVEL_PRINT_EXPORT TZVLabelDefsPlaces
{
    QString ProgramDir;  ///< the program's folder; empty without an application object
    QString UserDir;     ///< the user's writable data folder
    QString StarterFile; ///< the catalogue to start from, a resource path in Standard()

    /// The places of an installed program.
    static TZVLabelDefsPlaces Standard();
};

/// Outcome of a load or save; Error is a sentence naming the file.
struct TZVLabelDefsResult
{
    bool Ok = true; ///< false when the file could not be read or written
    QString Error;  ///< empty when Ok
};

/// Reads the definition lines of a file (Windows-1252, or UTF-8 after a byte-order mark; blank
/// lines skipped). A missing file is an empty catalogue. A file that is too large, holds NUL bytes
/// or cannot be read fails and leaves `lines` empty.
ZORVEL_PRINT_EXPORT TZVLabelDefsResult ReadLabelDefsFile(const QString& path, QStringList& lines);
/// Writes the lines through a temporary file renamed over the target, so a failure at any point
/// leaves the previous catalogue as it was. Missing folders are created. Windows-1252 when every
/// character fits, else UTF-8 with a byte-order mark.
ZORVEL_PRINT_EXPORT TZVLabelDefsResult WriteLabelDefsFile(const QString& path, const QStringList& lines);

/// The catalogue the dialog edits: where it came from, where it goes, and its lines.
///
/// Writing goes to the label's LabelDefs file when it exists; else to "labels.dls" in the program's
/// folder when that file or folder is writable; else to "labels.dls" in the user's data folder.
/// Reading takes that file when it exists, else the program folder's file (a read-only copy), else
/// the user's file; with no catalogue at all it starts from the starter catalogue, so a new user
/// sees common stock at once and the first save of a change makes the copy their own.
class ZORVEL_PRINT_EXPORT TZVLabelDefs
{
public:
    /// An empty catalogue looking in `places`; nothing is read before Load.
    explicit TZVLabelDefs(TZVLabelDefsPlaces places = TZVLabelDefsPlaces::Standard());

    /// The file the catalogue for `labelDefs` (a LabelDefs value) is written to.
    QString WritePath(const QString& labelDefs) const;
    /// The file it is read from; empty when there is none.
    QString ReadPath(const QString& labelDefs) const;

    /// Loads the lines for `labelDefs`. On a failure the catalogue is empty and Save() refuses
    /// to write, so a damaged or foreign file is never replaced by an empty one.
    TZVLabelDefsResult Load(const QString& labelDefs);
    /// Writes the lines when they differ from what was loaded; an unchanged catalogue writes
    /// nothing.
    TZVLabelDefsResult Save();

    /// The definition lines, editable; Save writes them.
    /// @{
    QStringList& Lines() { return m_lines; }
    const QStringList& Lines() const { return m_lines; }
    /// @}
    /// The file the lines were last loaded from or saved to; empty when there was none.
    const QString& ReadFrom() const { return m_readFrom; }
    /// The file Save writes; empty when no folder can take it.
    const QString& WriteTo() const { return m_writeTo; }
    /// True when the lines differ from what was loaded.
    bool Modified() const { return m_lines != m_loaded; }

private:
    TZVLabelDefsPlaces m_places;
    QStringList m_lines;
    QStringList m_loaded;
    QString m_readFrom;
    QString m_writeTo;
    bool m_loadFailed = false;
};

} // namespace zorvel
