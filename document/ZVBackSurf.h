// Background and frame settings of a label.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QImage>
#include <QObject>
#include <QString>

namespace zorvel {

class TZVCanvas;
class TZVCustomLab;
class TZVFieldVisitor;

/// Step i of an n-step gradient from `from` to `to`, component by component.
ZORVEL_CORE_EXPORT TZVColor GradientColor(TZVColor from, TZVColor to, int i, int n);

/// Background of a label: colour or gradient, picture, and the two alignment guides.
class ZORVEL_CORE_EXPORT TZVBackSurf : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool ShowAlign READ ShowAlign WRITE SetShowAlign)
    Q_PROPERTY(quint32 AlignColor READ AlignColor WRITE SetAlignColor)
    Q_PROPERTY(bool Print READ Print WRITE SetPrint)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(quint32 ToColor READ ToColor WRITE SetToColor)
    Q_PROPERTY(zorvel::TZVBackStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(QString FileImage READ FileImage WRITE SetFileImage)

public:
    /// The background settings of `owner` (not owned; the label owns this object).
    explicit TZVBackSurf(TZVCustomLab& owner);

    bool ShowAlign() const { return m_showAlign; } ///< whether the alignment guides are shown
    TZVColor AlignColor() const { return m_alignColor; } ///< colour of the alignment guides
    bool Print() const { return m_print; } ///< whether the background is printed (it is always shown)
    TZVColor Color() const { return m_color; } ///< background colour, and the first colour of gradients
    TZVColor ToColor() const { return m_toColor; } ///< second colour of gradients
    TZVBackStyle Style() const { return m_style; } ///< plain, picture or gradient shape
    const QString& FileImage() const { return m_fileImage; } ///< picture file of biImage, as given
    const QImage& Picture() const { return m_picture; } ///< picture loaded from FileImage; null when none
    /// Guide positions from the label's left and top edges, model units.
    /// @{
    int GuideX() const { return m_guideX; }
    int GuideY() const { return m_guideY; }
    /// @}
    /// True while the guides are dragged as part of the selection.
    bool GuidesInSelection() const { return m_guidesInSelection; }
    /// Whether the editor's cached background layer must be painted again.
    /// @{
    bool BackDirty() const { return m_backDirty; }
    void SetBackDirty(bool dirty) { m_backDirty = dirty; }
    /// @}

    /// Setters of the published properties; each marks the label modified. SetFileImage loads the picture
    /// at once: a file that cannot be decoded clears the name and raises EZvError "INVALID IMAGE : <file>";
    /// while the label loads a design it keeps the name and reports that text through OnMessage instead.
    /// @{
    void SetShowAlign(bool value);
    void SetAlignColor(TZVColor value);
    void SetPrint(bool value);
    void SetColor(TZVColor value);
    void SetToColor(TZVColor value);
    void SetStyle(TZVBackStyle value);
    void SetFileImage(const QString& value);
    /// @}
    /// Loads Picture from FileImage again as SetFileImage loads it, for a design whose reader
    /// stored the name alone.
    void LoadPicture();
    /// Guide positions in the label's unit.
    /// @{
    float GetGuideX() const;
    float GetGuideY() const;
    void SetGuideX(float value);
    void SetGuideY(float value);
    /// @}
    /// Editor gesture state of the guides: 1 dragged alone, anything else with the selection.
    void SetGuidesDragging(int mode);

    /// Copies every setting and the picture; the guides' dragging state stays.
    void Assign(const TZVBackSurf& other);
    /// Fields 31 to 38 of the stream header: colours, style, guides, show-guides, print flag.
    /// The show-guides byte goes through `showAlign`: a label reading a design keeps its own.
    void VisitFields(TZVFieldVisitor& visitor, bool& showAlign);

    /// The background of the label whose top-left corner is `origin` (model units) on a paint
    /// target. On the editor surface and the editor picture it covers `area`, in the canvas's
    /// units; elsewhere the label's own box. On the editor surface it paints only when BackDirty
    /// is set, and clears it.
    void PaintBackground(TZVCanvas& canvas, TPoint origin, int target, const TRect& area);
    /// The two dotted alignment guides, in model units, when ShowAlign is set.
    void PaintGuides(TZVCanvas& canvas) const;

private:
    void guideMoved(const char* name);
    void loadPicture(const QString& value);

    // The label's stream and JSON readers store the file name; conversions never load the picture.
    friend class TZVCustomLab;

    TZVCustomLab& m_owner;
    bool m_showAlign = false;
    TZVColor m_alignColor = 255;
    bool m_print = false;
    TZVColor m_color = 0xFFFFFF;
    TZVColor m_toColor = 0xFFFFFF;
    TZVBackStyle m_style = biNone;
    QString m_fileImage;
    QImage m_picture;
    int m_guideX = 0;
    int m_guideY = 0;
    bool m_guidesInSelection = false;
    bool m_backDirty = true;
};

/// Frame drawn around each label: one or two outlines at given distances inside the label's edge.
class ZORVEL_CORE_EXPORT TZVFrame : public QObject
{
    Q_OBJECT
    Q_PROPERTY(zorvel::TZVFrameStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(float Dist1 READ GetDist1 WRITE SetDist1)
    Q_PROPERTY(float Dist2 READ GetDist2 WRITE SetDist2)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)
    Q_PROPERTY(float Radio READ GetRadio WRITE SetRadio)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)

public:
    /// The frame settings of `owner` (not owned; the label owns this object).
    explicit TZVFrame(TZVCustomLab& owner);

    TZVFrameStyle Style() const { return m_style; } ///< none, one or two outlines
    /// Distance of the first outline from the label's edge, model units.
    int Dist1() const { return m_dist1; }
    int Dist2() const { return m_dist2; } ///< distance of the second outline from the first, model units
    int PenWidth() const { return m_penWidth; } ///< outline width, model units
    int Radio() const { return m_radio; } ///< corner radius, model units
    TZVColor Color() const { return m_color; } ///< outline colour

    /// The lengths above in the label's unit.
    /// @{
    float GetDist1() const;
    float GetDist2() const;
    float GetPenWidth() const;
    float GetRadio() const;
    /// @}
    /// Setters of the published properties, lengths in the label's unit; each marks the label modified.
    /// @{
    void SetStyle(TZVFrameStyle value);
    void SetDist1(float value);
    void SetDist2(float value);
    void SetPenWidth(float value);
    void SetRadio(float value);
    void SetColor(TZVColor value);
    /// @}

    /// Copies every setting of `other`.
    void Assign(const TZVFrame& other);
    /// Fields 45 to 50 of the stream header.
    void VisitFields(TZVFieldVisitor& visitor);

    /// The one or two outlines of the label whose top-left corner is `origin`, in model units,
    /// `height` long (a roll label as long as its content) or, when 0, the label's Height.
    void PaintFrame(TZVCanvas& canvas, TPoint origin, int target, int height = 0) const;

private:
    void changed(const char* name);

    TZVCustomLab& m_owner;
    TZVFrameStyle m_style = fsNone;
    int m_dist1 = 0;
    int m_dist2 = 100;
    int m_penWidth = 10;
    int m_radio = 0;
    TZVColor m_color = 0;
};

} // namespace zorvel
