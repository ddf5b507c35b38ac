// A label stock of a maker's catalogue: its geometry, its catalogue line, search and assignment.
#pragma once

#include "zorvel_print_export.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace zorvel {

class TZVCustomLab;

/// The outline of a stock's labels.
enum class TZVStockShape
{
    Rectangle,
    Round,
    Ellipse, ///< kept as its bounding box: the label model has no ellipse
    Disc,    ///< a CD/DVD label with a hole
};

/// A label stock; every length in millimetres.
struct ZORVEL_PRINT_EXPORT TZVStock
{
    QString Brand;       ///< "Avery"; empty for a generic entry
    QString Part;        ///< "L7160"
    QString Description; ///< "Address Labels"
    TZVStockShape Shape = TZVStockShape::Rectangle; ///< outline of the labels
    QString PaperName;   ///< a name of the paper table, or "User" for a size of its own
    /// Sheet size.
    /// @{
    double PaperWidth = 0;
    double PaperHeight = 0;
    /// @}
    /// Label size; a round label or a whole disc has its diameter twice, a disc cut to a card
    /// its card's size.
    /// @{
    double LabelWidth = 0;
    double LabelHeight = 0;
    /// @}
    /// Sheet edge to the first label, and the space between neighbours.
    /// @{
    double MarginLeft = 0;
    double MarginTop = 0;
    double GapX = 0;
    double GapY = 0;
    /// @}
    double Radius = 0; ///< corner radius of a rectangle
    double Hole = 0;   ///< radius of a disc's hole
    /// Labels across and down.
    /// @{
    int Columns = 1;
    int Rows = 1;
    /// @}
    int Layouts = 1;         ///< grids on the sheet; more than one (a running-bond sheet) cannot be assigned
    bool Continuous = false; ///< a continuous roll, whose label height is the longest allowed
    /// "gLabels" for the shipped stocks, an imported file's path, or empty for a hand-made line.
    QString Source;

    /// "Avery L7160"; the description when brand and part are empty.
    QString Name() const;
    /// "rectangle", "round", "ellipse" or "CD/DVD".
    QString ShapeName() const;
    /// Columns * Rows.
    int LabelsPerSheet() const { return Columns * Rows; }
};

/// Source of the stocks shipped with the library.
inline constexpr const char* kShippedStockSource = "gLabels";

/// The stock a catalogue line describes. Classic lines take their shape from the type field and
/// their name as the description.
ZORVEL_PRINT_EXPORT TZVStock StockFromLabelDef(const QStringList& fields);
/// The catalogue line of a stock: the classic fields in millimetres, then the optional ones.
ZORVEL_PRINT_EXPORT QStringList LabelDefFromStock(const TZVStock& stock);

/// Whether every word of `search` matches the stock, without regard to case: a word found in
/// the brand, part or description, or a size "W x H" (also "WxH", and "W x H in" in inches)
/// that matches the label either way round within 0.05 mm. An empty search matches all.
ZORVEL_PRINT_EXPORT bool StockMatches(const TZVStock& stock, QStringView search);

/// Sets the label from the stock, through AssignLabelDef's rules. Returns the reason when the
/// stock cannot be assigned (nothing changes then), or an empty text.
ZORVEL_PRINT_EXPORT QString AssignStock(const TZVStock& stock, TZVCustomLab& label);

/// A paper of the paper table for a sheet: the entry called `name` when its size agrees within
/// 1 mm, else the first entry of that size within 0.5 mm (either way round), else "User".
ZORVEL_PRINT_EXPORT QString StockPaperName(QStringView name, double widthMm, double heightMm);

} // namespace zorvel
