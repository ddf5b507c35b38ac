// The image element: picture files and their relocation, setters and the persisted fields.
#include "elements/ZVImage.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVFieldVisitor.h"
#include "foundation/ZVError.h"
#include "foundation/ZVPictureFormat.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVPicture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zorvel {

namespace {

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

void TZVImage::SetAspect(bool value)
{
    if (value == m_aspect) return;
    m_aspect = value;
    Changed("Aspect");
}

void TZVImage::SetAutoSize(bool value)
{
    if (value == m_autoSize) return;
    m_autoSize = value;
    Changed("Autosize");
}

void TZVImage::SetAngle(int value)
{
    if (value != m_angle) m_needsTurn = true;
    TZVData::SetAngle(value);
}

// The turned copy bakes transparency in, so it must be rebuilt.
void TZVImage::SetTransparent(bool value)
{
    if (value == m_transparent) return;
    m_transparent = value;
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
