// The bar code element: a linear symbol of fixed content or of a field value.
#pragma once

#include "document/ZVElement.h"
#include "elements/ZVElementTemplate.h"

#include <memory>

namespace zorvel {

struct TZVNativeBarcode;
struct TZVZintSymbol;
class TZVModuleGrid;

/// A bar code of fixed content or of the bound field's value, anchored at (X1, Y1) and turned by
/// Angle; its size follows from the content, not from a box. The first seven symbologies are linear
/// and encoded here; the others (2D, GS1, ...) are encoded by libzint.
class ZORVEL_CORE_EXPORT TZVBarCode : public TZVData
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
    Q_PROPERTY(float BarWidth READ GetBarWidth WRITE SetBarWidth)
    Q_PROPERTY(float Factor READ GetFactor WRITE SetFactor)
    Q_PROPERTY(float Distance READ GetDistance WRITE SetDistance)
    Q_PROPERTY(float BHeight READ GetBHeight WRITE SetBHeight)
    Q_PROPERTY(float LeftMargin READ GetLeftMargin WRITE SetLeftMargin)
    Q_PROPERTY(float TopMargin READ GetTopMargin WRITE SetTopMargin)
    Q_PROPERTY(bool ShowNumber READ ShowNumber WRITE SetShowNumber)
    Q_PROPERTY(bool Checksum READ Checksum WRITE SetChecksum)
    Q_PROPERTY(float FontHeight READ GetFontHeight WRITE SetFontHeight)
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(QString BarCode READ BarCode WRITE SetBarCode)
    Q_PROPERTY(QString Template READ Template WRITE SetTemplate)
    Q_PROPERTY(zorvel::TZVBar CodeType READ CodeType WRITE SetCodeType)
    Q_PROPERTY(int EccLevel READ EccLevel WRITE SetEccLevel)
    Q_PROPERTY(int SymbolSize READ SymbolSize WRITE SetSymbolSize)
    Q_PROPERTY(bool Rectangular READ Rectangular WRITE SetRectangular)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(bool QuietZone READ QuietZone WRITE SetQuietZone)

public:
    /// A new bar code of `owner`, which lists and owns it.
    explicit TZVBarCode(TZVCustomLab& owner);
    ~TZVBarCode() override;

    std::uint8_t ElementKind() const override { return ekBarCode; }

    /// The content encoded unless Data is on.
    const QString& BarCode() const { return m_barCode; }
    /// The template whose expansion is the content encoded on a label while it is not empty
    /// (instead of BarCode and of the bound field); the setter raises EZvError for a malformed one
    /// (see TZVTemplate::Problem) and keeps the old one.
    /// @{
    const QString& Template() const { return m_template.Text(); }
    void SetTemplate(const QString& value);
    /// @}
    /// The text last drawn, with its check character (see BarCodeText).
    const QString& PrintText() const { return m_printText; }
    int BarWidth() const { return m_barWidth; } ///< narrow bar width W0, model units
    int Distance() const { return m_distance; } ///< quiet zone left and right of the bars, model units
    int BHeight() const { return m_bHeight; } ///< bar height, model units
    /// Left margin inside the element, model units; the libzint symbologies use QuietZone instead.
    int LeftMargin() const { return m_leftMargin; }
    int TopMargin() const { return m_topMargin; } ///< top margin inside the element, model units
    /// Whether the human-readable number is drawn under the bars.
    bool ShowNumber() const { return m_showNumber; }
    bool Checksum() const { return m_checksum; } ///< whether a check character is added
    std::uint8_t BarReserved() const { return m_barReserved; } ///< stored with the element, otherwise unused
    TZVBar CodeType() const { return m_codeType; } ///< symbology
    /// Wide-to-narrow ratio x 100 as stored, before clamping.
    int Factor() const { return m_factor; }
    /// The ratio x 100 the symbol is drawn with: 2.0..3.0 for EAN/UPC and Code 39, else 1.0..6.0.
    int ClampedFactor() const;

    /// Options of the libzint symbologies; 0 means automatic. Ignored by the symbologies without them.
    /// @{
    /// Error correction: QR and Micro QR 1..4 = L, M, Q, H; PDF417 1..9 = levels 0..8;
    /// Aztec 1..4 = 10, 23, 36, 50 %.
    int EccLevel() const { return m_eccLevel; }
    /// The version or size number of the symbol as libzint numbers it.
    int SymbolSize() const { return m_symbolSize; }
    bool Rectangular() const { return m_rectangular; } ///< Data Matrix: rectangular rather than square
    int Columns() const { return m_columns; } ///< PDF417 data columns
    /// Whether a libzint symbol keeps the blank margin its standard asks for around it (the first
    /// seven symbologies have LeftMargin instead).
    bool QuietZone() const { return m_quietZone; }
    /// @}
    /// True for the symbologies libzint encodes (all but the first seven).
    static bool IsZintType(TZVBar type);
    /// True for the matrix and stacked symbologies, drawn with square modules of BarWidth.
    static bool Is2DType(TZVBar type);
    /// True when the element uses a libzint symbology or an option away from its default; only
    /// then does the newer stream record carry it.
    bool UsesExtendedRecord() const;
    /// True when the content has characters beyond Windows-1252, which only the newest stream
    /// record keeps (as a wide string).
    bool UsesWideRecord() const;
    std::int32_t StreamVersionNeeded() const override;
    /// The template, whose fields come from the master.
    void VisitTemplates(const std::function<void(const TZVTemplate&, bool)>& visit) const override;
    /// The content encoded on the label being printed (not the human-readable text).
    std::optional<QString> PrintedContent() override;

    /// Why the content a label would encode (the template's expansion, else the bound value when
    /// Data is on, else the fixed one) cannot be encoded under the current symbology and options,
    /// or why the template cannot be filled; empty when it can.
    QString EncodingError() const;
    /// Refuses an option (EccLevel, SymbolSize, Columns, Rectangular) that the current symbology
    /// cannot honour with the other options, or that a design cannot store, as EncodingError words
    /// it, and a malformed Template with TZVTemplate::Problem's message. The setters clamp to what a design stores; editors and tools ask here first.
    QString PropertyRefusal(const QString& name, const QVariant& value) const override;
    /// "INVALID BARCODE : " with `content` (cut to a readable length) and the reason, if any.
    static QString RefusalMessage(const QString& content, const QString& reason = {});

    /// Published values: BarWidth and Distance in millimetres, the other lengths in the label's unit.
    /// @{
    float GetBarWidth() const;
    float GetDistance() const;
    float GetBHeight() const { return FromModel(m_bHeight); }
    float GetLeftMargin() const { return FromModel(m_leftMargin); }
    float GetTopMargin() const { return FromModel(m_topMargin); }
    /// @}
    /// Clamps the stored factor for good (see ClampedFactor) and returns it as a ratio.
    float GetFactor();

    /// Setters of the published values, in the getters' units; each follows the change protocol.
    /// @{
    void SetBarWidth(float millimetres);
    void SetDistance(float millimetres);
    void SetBHeight(float value);
    void SetLeftMargin(float value);
    void SetTopMargin(float value);
    void SetFactor(float value);
    void SetCodeType(TZVBar value);
    void SetBarCode(const QString& value) { setField(m_barCode, value, "BarCode"); }
    void SetShowNumber(bool value) { setField(m_showNumber, value, "ShowNumber"); }
    void SetChecksum(bool value) { setField(m_checksum, value, "Checksum"); }
    void SetEccLevel(int value);
    void SetSymbolSize(int value);
    void SetRectangular(bool value) { setField(m_rectangular, value, "Rectangular"); }
    void SetColumns(int value);
    void SetQuietZone(bool value) { setField(m_quietZone, value, "QuietZone"); }
    /// @}

    /// Size of the unturned symbol of `content` (already the human-readable text), model units:
    /// the quiet zones and the modules across; the top margin, the bars and the number down.
    /// Matrix symbols are as high as their rows and quiet zone, for the content last encoded.
    /// @{
    int SymbolWidth(const QString& content) const;
    int SymbolHeight() const;
    /// @}

    /// Only the anchor moves, to the corner of the box the angle turns it to.
    void PlaceAnchor(int L, int T, int R, int B) override { PlaceCornerByAngle(L, T, R, B); }
    void VisitFields(TZVFieldVisitor& visitor) override;
    bool CornerMeasuredByPaint() const override { return true; }

    /// The placeholder box drawn for content the symbology refuses, model units.
    static constexpr int kPlaceholderWidth = 2000;

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;
    bool SilencedWithoutPrinterOutput() const override { return true; }

private:
    void paintPlaceholder(TZVCanvas& canvas, TPoint anchor);
    void paintNumber(TZVCanvas& canvas, TPoint anchor, const QString& modules, int totalWidth);
    void visitOptions(TZVFieldVisitor& visitor);
    /// The libzint symbol of `content` under the current type and options, cached until they change.
    const TZVZintSymbol& zintSymbol(const QString& content) const;
    void paintZint(TZVCanvas& canvas, TPoint anchor, const TZVZintSymbol& symbol, int target);
    bool paintNative(TZVCanvas& canvas, TZVNativeBarcode& native, const TZVModuleGrid& grid, const TRect& area,
                     int barHeight);
    /// The content encoded on `target`: the template's (see TZVElementTemplate::Content), else
    /// the bound value when `data` and Data are on, else BarCode.
    QString content(int target, bool data) const;

    QString m_printText;
    QString m_barCode = QStringLiteral("88888");
    TZVElementTemplate m_template;
    int m_barWidth = 0; // the default symbology's module, set by the constructor
    int m_distance = 0;
    int m_bHeight = 1000;
    int m_leftMargin = 300;
    int m_topMargin = 0;
    bool m_showNumber = true;
    bool m_checksum = false;
    std::uint8_t m_barReserved = 1;
    TZVBar m_codeType = CODE39;
    int m_factor = 300;
    int m_eccLevel = 0;
    int m_symbolSize = 0;
    bool m_rectangular = false;
    int m_columns = 0;
    bool m_quietZone = true;
    mutable std::shared_ptr<const TZVZintSymbol> m_zintCache;
};

} // namespace zorvel
