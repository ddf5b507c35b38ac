// The scheduler's answers through libcups; with no scheduler running, queues are unknown and lists empty.
#include "printsupport/ZVCups.h"

#include "foundation/ZVError.h"

#include <QFile>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <cups/cups.h>
#include <memory>

namespace zorvel::cups {
namespace {

struct DestFree
{
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using Dest = std::unique_ptr<cups_dest_t, DestFree>;

Dest namedDest(const QString& queue)
{
    return Dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), nullptr));
}

QString lastError()
{
    const char* text = cupsLastErrorString();
    return text ? QString::fromUtf8(text) : QString();
}

// The printer-state-message, which says why a queue was stopped (cupsdisable -r).
QString stateMessage(const QString& queue)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    const QByteArray uri = "ipp://localhost/printers/" + QUrl::toPercentEncoding(queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state-message");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"); // frees the request
    if (!response) return {};
    ipp_attribute_t* attribute = ippFindAttribute(response, "printer-state-message", IPP_TAG_ZERO);
    const char* text = attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
    const QString message = text ? QString::fromUtf8(text) : QString();
    ippDelete(response);
    return message;
}

constexpr double kHundredthsPerMm = 100;

QMarginsF marginsMm(const cups_size_t& size)
{
    return QMarginsF(size.left, size.top, size.right, size.bottom) / kHundredthsPerMm;
}

// The smallest value the queue supports for `attribute` (hundredths of a millimetre), 0 when it says none.
int smallestSupported(cups_dest_t* dest, cups_dinfo_t* info, const char* attribute)
{
    ipp_attribute_t* values = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, attribute);
    int smallest = 0;
    for (int i = 0; values && i < ippGetCount(values); ++i)
        smallest = i == 0 ? ippGetInteger(values, i) : std::min(smallest, ippGetInteger(values, i));
    return smallest;
}

// The custom size range, which media-supported gives as custom_min_... and custom_max_... sizes.
void readCustomRange(cups_dest_t* dest, cups_dinfo_t* info, TZVPrinterMedia& media)
{
    ipp_attribute_t* supported = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA);
    for (int i = 0; supported && i < ippGetCount(supported); ++i) {
        const char* keyword = ippGetString(supported, i, nullptr);
        const bool min = keyword && std::strncmp(keyword, "custom_min_", 11) == 0;
        const bool max = keyword && std::strncmp(keyword, "custom_max_", 11) == 0;
        const pwg_media_t* size = min || max ? pwgMediaForPWG(keyword) : nullptr;
        if (!size) continue;
        media.Custom = true;
        (min ? media.CustomMin : media.CustomMax) = QSizeF(size->width, size->length) / kHundredthsPerMm;
    }
    if (!media.Custom) return;
    media.CustomMargins = QMarginsF(smallestSupported(dest, info, "media-left-margin"),
                                    smallestSupported(dest, info, "media-top-margin"),
                                    smallestSupported(dest, info, "media-right-margin"),
                                    smallestSupported(dest, info, "media-bottom-margin")) /
                          kHundredthsPerMm;
}

} // namespace

QStringList Queues()
{
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QString name = QString::fromLocal8Bit(dests[i].name);
        if (dests[i].instance) name += u'/' + QString::fromLocal8Bit(dests[i].instance);
        names << name;
    }
    cupsFreeDests(count, dests);
    return names;
}

QString DefaultQueue()
{
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    const cups_dest_t* fallback = cupsGetDest(nullptr, nullptr, count, dests);
    QString name;
    if (fallback) {
        name = QString::fromLocal8Bit(fallback->name);
        if (fallback->instance) name += u'/' + QString::fromLocal8Bit(fallback->instance);
    }
    cupsFreeDests(count, dests);
    return name;
}

TQueueState QueueState(const QString& queue)
{
    TQueueState state;
    const Dest dest = namedDest(queue);
    if (!dest) {
        state.Message = lastError();
        return state;
    }
    const auto option = [&](const char* name) {
        const char* value = cupsGetOption(name, dest->num_options, dest->options);
        return value ? QString::fromUtf8(value) : QString();
    };
    state.Known = true;
    state.Stopped = option("printer-state").toInt() == IPP_PSTATE_STOPPED;
    state.Accepting = option("printer-is-accepting-jobs") != QLatin1String("false");
    state.Message = stateMessage(queue);
    return state;
}

TZVPrinterMedia QueueMedia(const QString& queue)
{
    TZVPrinterMedia media;
    media.Printer = queue;
    const Dest dest = namedDest(queue);
    cups_dinfo_t* info = dest ? cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()) : nullptr;
    if (!info) return media;
    const int count = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest.get(), info, CUPS_MEDIA_FLAGS_DEFAULT);
    for (int i = 0; i < count; ++i) {
        cups_size_t size;
        if (!cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest.get(), info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size))
            continue;
        const TZVPrinterMedium medium{QString::fromUtf8(size.media),
                                      QSizeF(size.width, size.length) / kHundredthsPerMm, marginsMm(size)};
        // A borderless variant shares its medium's name; the driver prints on the bordered one unless told.
        const auto same = std::find_if(media.Named.begin(), media.Named.end(),
                                       [&](const TZVPrinterMedium& m) { return m.Name == medium.Name; });
        if (same == media.Named.end())
            media.Named.append(medium);
        else if (medium.Margins.left() + medium.Margins.top() > same->Margins.left() + same->Margins.top())
            *same = medium;
    }
    readCustomRange(dest.get(), info, media);
    cupsFreeDestInfo(info);
    return media;
}

void RequireReadyQueue(const QString& queue)
{
    const TQueueState state = QueueState(queue);
    if (!state.Known)
        throw EZvError(QStringLiteral("UNKNOWN PRINTER : %1 (%2)").arg(queue, state.Message));
    if (state.Stopped) {
        const QString why = state.Message.isEmpty() ? QStringLiteral("Paused") : state.Message;
        throw EZvError(QStringLiteral("PRINTER STOPPED : %1 (%2)").arg(queue, why));
    }
}

QList<QPair<QByteArray, QByteArray>> JobOptions(const QString& media, bool landscape, int copies)
{
    QList<QPair<QByteArray, QByteArray>> options{{"media", media.toLatin1()}};
    if (landscape) options.append({"orientation-requested", QByteArray::number(IPP_ORIENT_LANDSCAPE)});
    if (copies > 1) options.append({"copies", QByteArray::number(copies)});
    return options;
}

int SubmitFile(const QString& queue, const QString& file, const QString& title,
               const QList<QPair<QByteArray, QByteArray>>& options)
{
    int count = 0;
    cups_option_t* raw = nullptr;
    for (const auto& [name, value] : options)
        count = cupsAddOption(name.constData(), value.constData(), count, &raw);
    const int job =
        cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), QFile::encodeName(file).constData(),
                       title.toUtf8().constData(), count, raw);
    cupsFreeOptions(count, raw);
    if (job <= 0) throw EZvError(QStringLiteral("PRINT JOB REFUSED : %1 (%2)").arg(queue, lastError()));
    return job;
}

} // namespace zorvel::cups
