// Localized texts: property captions, paper types, message texts and translation-file look-ups.
#pragma once

#include "foundation/ZVIniFile.h"
#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

namespace zorvel {

// ---- Message texts ----------------------------------------------------------------------------

/// Identifiers of the library's message texts; the English wording is in ZVMessages.cpp.
// clang-format off
enum class TZVMsg : std::uint16_t
{
    MM, Inches, Cm, RemoveLabelDef, SetAsCurrent, FitOnePage, FitPageWidth, FitTwoPages, Exit, Selection,
    EditingText, ElementSize, ShowSize, Page, LabelList, LabelName, LabelSize, PaperSize, PaperTypeName,
    PaperWidth, PaperHeight, LabelWidth, LabelHeight, LeftMargin, TopMargin, NewLabel, Units, WriteAnswer,
    Character, AdjustLines, None, Image, HorizontalGradient, VerticalGradient, CircularGradient,
    HalfCircular1, HalfCircular2, CircularQuarter, NoFrame, OneLine, TwoLines, Points, Lines, EnvelopeB4,
    EnvelopeB6, EnvelopeInvite, PrintBackground, GradientFrom, GradientTo, BackgroundStyle, TableProperties,
    RowHeight, FontColor, Title, Add, Format, Header, Footer, FontHeight, ParagraphProperties,
    Pdf417Properties, DataMatrixProperties, QRProperties, LabelProperties, EditorProperties, PrintPreview,
    Text, Show, EnvelopeDL, EnvelopeC5, EnvelopeC3, EnvelopeC4, EnvelopeC6, EnvelopeC65, EnvelopeB5, Kind,
    DataBase, NumberOfLabels, FirstColumn, FirstRow, PrintFrom, To, Margins, Distribution, ShowLines,
    LeftColon, TopColon, Field, Table, BackColor, SymbolProperties, Landscape, VerticalDistance,
    HorizontalDistance, Frame, Frame1Distance, Frame2Distance, SnapToGrid, ShowGrid, ShowMargins,
    Repetitions, PenWidth, AlignObjects, User, Left, Top, Width, Separation, Horizontal, Vertical, LabelType,
    Print, Back, Grid, Rows, Columns, Paper, Rectangle, Circle, InnerRadio, Portrait, OK, Cancel, Color,
    Delete, Font, Name, Dimensions, Style, Height,
    Count
};
// clang-format on

/// An identifier outside the table gives an empty text.
ZORVEL_CORE_EXPORT const QString& MessageText(TZVMsg id);

// ---- Property captions ------------------------------------------------------------------------

/// Rows of the caption table, one per published property.
inline constexpr int kCaptionRows = 95;
/// Columns of the caption table.
inline constexpr int kCaptionColumns = 5; ///< name, English, Spanish, Dutch, custom
/// Column filled from the translation file.
inline constexpr int kCustomCaptionColumn = 4;

/// The caption table, row after row: column c of row r is element kCaptionColumns * r + c.
ZORVEL_CORE_EXPORT std::span<const QString> PropertyCaptions();

/// First row whose property name equals `name` without regard to case; -1 when there is none.
ZORVEL_CORE_EXPORT int FindCaptionRow(QStringView name);

/// The caption an inspector shows for a published property. `translationLoaded` is the inspector's own
/// flag (the result of its last LoadCustomCaptions); with it set, the custom column wins over `language`.
ZORVEL_CORE_EXPORT QString PropertyCaption(QStringView name, TZVLanguage language, bool translationLoaded);

/// Fills the custom column from section "inspector" of `iniTranslate` (key "ZVI" + property name,
/// English by default) and returns true when the file exists. A missing file leaves the column as it
/// was. The column is shared by every inspector of the process.
ZORVEL_CORE_EXPORT bool LoadCustomCaptions(const QString& iniTranslate);

/// Copies the English captions back into the custom column.
ZORVEL_CORE_EXPORT void ResetCustomCaptions();

// ---- Translation file -------------------------------------------------------------------------

/// The file an IniTranslate value names: '\' is read as a separator and a relative path is taken
/// against the current directory. Empty for an empty value.
ZORVEL_CORE_EXPORT QString ResolveTranslationPath(const QString& iniTranslate);
/// True when IniTranslate names an existing regular file.
bool TranslationFileExists(const QString& iniTranslate);

// ---- Dialog texts -----------------------------------------------------------------------------

/// Readers of section "dialogs", by the dialog classes that read them.
enum class TZVDialog : std::uint8_t
{
    TFPropLab, TFLabelDefs, TZvPrw, TFPropEditor, TPropTable, TPropPara, TPropSym, TZvEdText, TZVLab
};

/// One caption of a dialog: its key, the text used when the file lacks the key, and the message text
/// used when there is no file.
struct TZVDialogKey
{
    const char* Key; ///< key in section "dialogs"
    const char* Default; ///< text when the file lacks the key
    TZVMsg Message; ///< text when there is no translation file
};

/// The captions `dialog` reads, with their defaults.
ZORVEL_CORE_EXPORT std::span<const TZVDialogKey> DialogKeys(TZVDialog dialog);

/// The texts of one dialog preparation: opens the translation file once, when it exists.
class ZORVEL_CORE_EXPORT TZVDialogTexts
{
public:
    /// Opens `iniTranslate` (see ResolveTranslationPath) when it exists.
    explicit TZVDialogTexts(const QString& iniTranslate);

    /// True when the translation file exists and was opened.
    bool hasFile() const { return m_hasFile; }

    /// With a file, the value of `key` in section "dialogs" or else `defaultText`; without one, the
    /// message text of the key, or `defaultText` for a key no dialog reads.
    QString text(QStringView key, const QString& defaultText) const;
    /// The same for a key of `dialog`'s table, with that dialog's default. A key outside the table
    /// defaults to the key itself, which shows the slip on screen.
    QString text(TZVDialog dialog, QStringView key) const;

private:
    TZVIniFile m_file;
    bool m_hasFile = false;
};

/// One-off look-up, for callers that need a single text (the label's answer prompt).
ZORVEL_CORE_EXPORT QString DialogText(const QString& iniTranslate, QStringView key,
                                      const QString& defaultText);

// ---- Paper types ------------------------------------------------------------------------------

/// Entries of PaperTypes().
inline constexpr int kPaperTypeCount = 27;
/// Paper code of a user-defined size.
inline constexpr std::int32_t kUserPaperCode = 256;

/// A paper size offered by the label dialogs.
struct TPaperType
{
    float Width = 0;  ///< mm
    float Height = 0; ///< mm
    QString Name; ///< name shown in the lists
    std::int32_t PaperCode = 0; ///< printer paper-size code; kUserPaperCode for a user-defined size
};

/// The paper list of the label dialogs: list index = table index.
ZORVEL_CORE_EXPORT std::span<const TPaperType> PaperTypes();
/// Throws std::out_of_range for an index outside 0..kPaperTypeCount - 1.
ZORVEL_CORE_EXPORT const TPaperType& PaperType(int index);

} // namespace zorvel
