// The image element: a picture file, a picture kept in the design or one from a blob field.
#pragma once

#include "document/ZVElement.h"

#include <QImage>

namespace zorvel {

/// A picture in a box: from a file, kept inside the design, or from the bound blob field.
class ZORVEL_CORE_EXPORT TZVImage : public TZVData
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(float X2 READ GetX2 WRITE SetX2)
    Q_PROPERTY(float Y2 READ GetY2 WRITE SetY2)
    Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
    Q_PROPERTY(bool Aspect READ Aspect WRITE SetAspect)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Locked READ Locked WRITE SetLocked)
    Q_PROPERTY(QString FileImage READ FileImage WRITE SetFileImage)
    Q_PROPERTY(bool ShowBorder READ ShowBorder WRITE SetShowBorder)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)

public:
    /// A new image element of `owner`, which lists and owns it.
    explicit TZVImage(TZVCustomLab& owner);

    std::uint8_t ElementKind() const override { return ekImage; }

    /// Picture file as given; may use '\' separators (see LocalPicturePath).
    const QString& FileImage() const { return m_fileImage; }
    /// FileImage relative to ProgramFolder, tried when FileImage is gone (a moved installation).
    const QString& RelativeImage() const { return m_relativeImage; }
    /// The current picture; null when there is none.
    const QImage& Picture() const { return m_picture; }
    /// Whether Picture holds a picture to draw.
    bool HasPicture() const { return m_hasPicture; }
    bool Aspect() const { return m_aspect; } ///< keep the picture's proportions inside the box
    bool AutoSize() const { return m_autoSize; } ///< size the box to the picture at screen resolution
    /// Stored with the element, otherwise unused.
    std::uint8_t ImageReserved() const { return m_imageReserved; }
    /// The turned copy must be rebuilt before the next turned draw.
    bool NeedsTurn() const { return m_needsTurn; }

    /// Ignored while Data is on. Loads the file; one that cannot be read leaves no picture and
    /// is reported through the label's OnMessage as "INVALID FILE : " and the path.
    void SetFileImage(const QString& value);
    /// Setters of the published flags; each follows the change protocol.
    /// @{
    void SetAspect(bool value) { setField(m_aspect, value, "Aspect"); }
    void SetAutoSize(bool value) { setField(m_autoSize, value, "Autosize"); }
    /// @}
    void SetAngle(int value) override;
    void SetTransparent(bool value) override;
    /// The base behaviour, then the far corner follows the rectangle exactly, without grid snap.
    void SetScreenRect(const TRect& value) override;
    void VisitFields(TZVFieldVisitor& visitor) override;
    bool CornerMeasuredByPaint() const override { return AutoSize(); }

    /// The folder of the running program (the working folder when there is no application object).
    static QString ProgramFolder();

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;
    bool SilencedWithoutPrinterOutput() const override { return true; }

private:
    // The picture of the current record's bound field; null with `message` set when there is none.
    QImage fieldPicture(QString& message);
    // The picture turned by Angle with BackColor see-through when Transparent, rebuilt on NeedsTurn
    // and whenever another picture is to be turned.
    const QImage& turned(const QImage& picture);

    void loadFileImage();
    void readPicture(TZVFieldVisitor& visitor);

    bool m_needsTurn = false;
    QImage m_turnBitmap;
    qint64 m_turnSource = 0; // cacheKey() of the picture m_turnBitmap was turned from
    QString m_fileImage;
    QString m_relativeImage;
    QImage m_picture;
    bool m_hasPicture = false;
    bool m_aspect = true;
    bool m_autoSize = false;
    std::uint8_t m_imageReserved = 0;
};

} // namespace zorvel
