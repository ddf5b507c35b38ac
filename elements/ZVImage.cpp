// The image element: picture files and their relocation, setters and the persisted fields.
#include "elements/ZVImage.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVFieldVisitor.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVPictureFormat.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVPicture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTransform>

#include <algorithm>

namespace zorvel {

namespace {

// Resolution of the editor at 100 %: AutoSize gives a picture the size it has on screen there.
constexpr int kScreenDpi = 96;
constexpr TZVColor kPlaceholderColor = 0x808080;
constexpr TZVColor kMessageColor = 0x0000FF; // red
constexpr int kPlaceholderPen = 5;           // 0.05 mm
constexpr int kMessageHeight = 350;          // 3.5 mm
constexpr int kMessageInset = 10;            // 0.1 mm

bool quarterTurned(int angle)
{
    return angle == 90 || angle == 270;
}

QString relativeToProgram(const QString& path)
{
    const QString absolute = QFileInfo(LocalPicturePath(path)).absoluteFilePath();
    return QDir(TZVImage::ProgramFolder()).relativeFilePath(absolute);
}

} // namespace

TZVImage::TZVImage(TZVCustomLab& owner) : TZVData(owner, 3)
{
    NameElement(QStringLiteral("Image"));
}

QString TZVImage::ProgramFolder()
{
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void TZVImage::loadFileImage()
{
    m_picture = QImage();
    m_hasPicture = false;
    // No file chosen is no picture, not a failure worth a message.
    if (m_fileImage.isEmpty()) {
        m_relativeImage.clear();
        return;
    }
    try {
        m_picture = LoadPictureFile(m_fileImage);
        m_hasPicture = true;
        m_relativeImage = relativeToProgram(m_fileImage);
    } catch (const EZvError&) {
        fire(m_owner->OnMessage, m_owner, QStringLiteral("INVALID FILE : ") + m_fileImage);
    }
}

void TZVImage::SetFileImage(const QString& value)
{
    if (m_data) return;
    m_fileImage = value;
    loadFileImage();
    m_needsTurn = true;
    Changed("FileImage");
}

void TZVImage::SetAngle(int value)
{
    if (value != m_angle) m_needsTurn = true;
    TZVData::SetAngle(value);
}

// The turned copy bakes transparency in, so it must be rebuilt.
void TZVImage::SetTransparent(bool value)
{
    if (!StoreIfChanged(m_transparent, value)) return;
    m_needsTurn = true;
    Changed("Transparent");
}

void TZVImage::SetScreenRect(const TRect& value)
{
    TZVData::SetScreenRect(value);
    const TZVEditorLink* editor = m_owner->Editor();
    if (!editor) return;
    m_x2 = DeviceToModelX(Clamp(value.Right, 0, editor->SurfaceWidth()));
    m_y2 = DeviceToModelY(Clamp(value.Bottom, 0, editor->SurfaceHeight()));
}

QImage TZVImage::fieldPicture(QString& message)
{
    const TZVDataSet* dataSet = m_owner->DataSet();
    const TZVField* field = dataSet && dataSet->Active() ? dataSet->FindField(m_boundField) : nullptr;
    if (!field || dataSet->RecordCount() == 0 || field->IsNull()) {
        message = FieldName();
        return {};
    }
    const QByteArray bytes = field->AsBytes();
    // Empty content keeps the file message.
    if (bytes.isEmpty()) return {};
    if (IsDrawablePictureFormat(DetectPictureFormat(bytes))) {
        try {
            QImage picture = LoadPicture(bytes);
            m_needsTurn = true;
            return picture;
        } catch (const EZvError&) {
            // A metafile, or damaged data: the placeholder says which field.
        }
    }
    message = FieldName();
    return {};
}

const QImage& TZVImage::turned(const QImage& picture)
{
    // The picture to turn changes without NeedsTurn: a record's picture, then the file's again.
    if (!m_needsTurn && !m_turnBitmap.isNull() && picture.cacheKey() == m_turnSource) return m_turnBitmap;
    QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    if (m_transparent) {
        const QRgb key = toQColor(m_backColor).rgb();
        for (int y = 0; y < source.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
            for (int x = 0; x < source.width(); ++x)
                if ((line[x] | 0xFF000000u) == key) line[x] = 0;
        }
    }
    // Angles turn counterclockwise on the page, whose y axis points down.
    m_turnBitmap = source.transformed(QTransform().rotate(-m_angle));
    m_turnSource = picture.cacheKey();
    m_needsTurn = false;
    return m_turnBitmap;
}

void TZVImage::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data)
{
    QString message = QStringLiteral("INVALID FILE : ") + m_fileImage;
    QImage fromField;
    const QImage* picture = m_hasPicture && !m_picture.isNull() ? &m_picture : nullptr;
    // The editor surface shows a bound image by its field, or the record's picture while it shows data.
    if (m_data && (data || target == ptEditor)) {
        picture = nullptr;
        if (target == ptPrinter || target == ptPreviewPage || (target == ptEditor && data)) {
            fromField = fieldPicture(message);
            if (!fromField.isNull()) picture = &fromField;
        } else {
            message = FieldName();
        }
    }

    int w = picture ? picture->width() : 0;
    int h = picture ? picture->height() : 0;
    if (quarterTurned(m_angle)) std::swap(w, h);
    // Stored corners and pens may lie anywhere in the int range: sums saturate rather than wrap.
    const auto plus = [](int a, std::int64_t b) { return SaturateToInt(a + b); };
    if (m_autoSize && picture) {
        const std::int64_t border = m_showBorder ? 2 * std::int64_t(m_penWidth) : 0;
        m_x2 = plus(m_x1, PixelsToModel(w, kScreenDpi) + border);
        m_y2 = plus(m_y1, PixelsToModel(h, kScreenDpi) + border);
    }
    TRect box{plus(m_x1, offset.X), plus(m_y1, offset.Y), plus(m_x2, offset.X), plus(m_y2, offset.Y)};
    if (m_showBorder) {
        canvas.SelectPen({m_color, m_penWidth, psInsideFrame});
        canvas.SelectBrush({0xFFFFFF, bsClear});
        canvas.Rectangle(box.Left, box.Top, plus(box.Right, 1), plus(box.Bottom, 1));
        box = {plus(box.Left, m_penWidth), plus(box.Top, m_penWidth),
               plus(box.Right, -std::int64_t(m_penWidth)), plus(box.Bottom, -std::int64_t(m_penWidth))};
    }
    if (picture) {
        if (m_aspect) {
            const int bw = SaturateToInt(std::int64_t(box.Right) - box.Left);
            const int bh = box.Bottom == box.Top ? 1 : SaturateToInt(std::int64_t(box.Bottom) - box.Top);
            const int ph = h == 0 ? 1 : h;
            if (double(bw) / bh > double(w) / ph) {
                const std::int64_t d = (std::int64_t(bw) - MulDiv(bh, w, ph)) / 2;
                box.Left = plus(box.Left, d);
                box.Right = plus(box.Right, -d);
            } else {
                const std::int64_t d = (std::int64_t(bh) - MulDiv(bw, ph, std::max(w, 1))) / 2;
                box.Top = plus(box.Top, d);
                box.Bottom = plus(box.Bottom, -d);
            }
        }
        canvas.StretchDraw(box, m_angle != 0 ? turned(*picture) : *picture);
    } else if (target == ptEditor || m_owner->MarkEmptyImage()) {
        canvas.SelectPen({kPlaceholderColor, kPlaceholderPen, psInsideFrame});
        canvas.SelectBrush({0xFFFFFF, bsClear});
        canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
        TZVFont font;
        font.Height = kMessageHeight;
        font.Color = kMessageColor;
        canvas.SelectFont(font);
        canvas.SetTextAlign(taCenter | taTop);
        canvas.SetTextCharacterExtra(0);
        canvas.ExtTextOut(int((std::int64_t(box.Left) + box.Right) / 2), plus(box.Top, kMessageInset),
                          message);
    }
    m_modelRect = {m_x1, m_y1, m_x2, m_y2};
    if (m_locked && target == ptEditor) PaintLockMarker(canvas, offset);
}

void TZVImage::readPicture(TZVFieldVisitor& visitor)
{
    m_hasPicture = true;
    try {
        visitor.Picture("Picture", m_picture, m_hasPicture);
    } catch (const EZvError& error) {
        // A damaged bitmap has been stepped over; anything else leaves the reader lost.
        if (!error.message().startsWith(QLatin1String(kInvalidImage))) throw;
        m_picture = QImage();
    }
    if (m_picture.isNull()) m_hasPicture = false;
}

void TZVImage::VisitFields(TZVFieldVisitor& visitor)
{
    TZVData::VisitFields(visitor);
    const std::int32_t version = visitor.Version();
    visitor.WStr("FileImage", m_fileImage, version <= 18);
    if (version >= 20) visitor.WStr("RelativeImage", m_relativeImage);
    visitor.Bool("Aspect", m_aspect);
    visitor.Bool("AutoSize", m_autoSize);
    if (version >= 20) visitor.U8("ImageReserved", m_imageReserved);

    const bool pictureInStream = m_owner->OnlyBitmap() && version > 17;
    if (!visitor.Reading()) {
        if (pictureInStream) {
            bool present = m_hasPicture && !m_picture.isNull();
            visitor.Picture("Picture", m_picture, present);
        }
        return;
    }
    m_needsTurn = true;
    if (pictureInStream) {
        readPicture(visitor);
        return;
    }
    // A bound image takes its picture from the record, and its file setting is not applied.
    if (m_data) return;
    if (!QFileInfo::exists(LocalPicturePath(m_fileImage)) && !m_relativeImage.isEmpty()) {
        const QString moved = QDir(ProgramFolder()).absoluteFilePath(LocalPicturePath(m_relativeImage));
        // The stored path is kept unless the relative one really finds the picture.
        if (QFileInfo::exists(moved)) m_fileImage = QDir::cleanPath(moved);
    }
    const QString relative = m_relativeImage;
    loadFileImage();
    m_relativeImage = relative; // kept as stored, so reading and writing again gives the same bytes
}

} // namespace zorvel
