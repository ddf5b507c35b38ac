#include "printsupport/ZVZplQueuePrinter.h"

#include "platform/ZVZplPrinter.h"
#include "printsupport/ZVCups.h"

#include <QPointF>
#include <QTemporaryDir>

#include <utility>

namespace zorvel {

detail::TZVZplWriterHolder::TZVZplWriterHolder(int dpi)
    : Spool(std::make_unique<QTemporaryDir>()), File(Spool->filePath(QStringLiteral("job.zpl"))),
      Writer(std::make_unique<TZVZplPrinter>(File, dpi))
{
}

detail::TZVZplWriterHolder::~TZVZplWriterHolder() = default;

TZVZplQueuePrinter::TZVZplQueuePrinter(QString queue, int dpi, const TZVCalibration& offsets)
    : TZVZplWriterHolder(dpi), TZVForwardingPrinter(*Writer), m_queue(std::move(queue))
{
    Writer->SetHomeMm(QPointF(offsets.X, offsets.Y));
}

TZVZplQueuePrinter::~TZVZplQueuePrinter() = default;

void TZVZplQueuePrinter::BeginDoc(const QString& title)
{
    cups::RequireReadyQueue(m_queue);
    m_title = title;
    TZVForwardingPrinter::BeginDoc(title);
}

void TZVZplQueuePrinter::EndDoc()
{
    TZVForwardingPrinter::EndDoc();
    QList<QPair<QByteArray, QByteArray>> options{{"raw", "true"}};
    const TZVDevMode* mode = Writer->DevMode();
    if (mode && mode->CopiesSet && mode->Copies > 1) options.append({"copies", QByteArray::number(mode->Copies)});
    m_jobId = cups::SubmitFile(m_queue, File, m_title, options);
}

} // namespace zorvel
