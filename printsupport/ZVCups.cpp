// libcups is opened at run time: its ABI is stable, and a machine without it still prints to files.
#include "printsupport/ZVCups.h"

#include "foundation/ZVError.h"

#include <QFile>
#include <QUrl>

#include <dlfcn.h>
#include <type_traits>
#include <vector>

namespace zorvel::cups {
namespace {

// The C structures as libcups 2 lays them out.
struct cups_option_t
{
    char* name;
    char* value;
};
struct cups_dest_t
{
    char* name;
    char* instance;
    int is_default;
    int num_options;
    cups_option_t* options;
};

struct Api
{
    cups_dest_t* (*getNamedDest)(void* http, const char* name, const char* instance) = nullptr;
    void (*freeDests)(int count, cups_dest_t* dests) = nullptr;
    const char* (*getOption)(const char* name, int count, cups_option_t* options) = nullptr;
    int (*printFile)(const char* name, const char* file, const char* title, int count, cups_option_t* options) = nullptr;
    const char* (*lastErrorString)() = nullptr;
    // IPP, for what the destination list leaves out
    void* (*ippNewRequest)(int op) = nullptr;
    void* (*ippAddString)(void* ipp, int group, int tag, const char* name, const char* language, const char* value) = nullptr;
    void* (*doRequest)(void* http, void* request, const char* resource) = nullptr;
    void* (*ippFindAttribute)(void* ipp, const char* name, int tag) = nullptr;
    const char* (*ippGetString)(void* attribute, int element, const char** language) = nullptr;
    void (*ippDelete)(void* ipp) = nullptr;
    bool ok = false;
    bool ipp = false;
};

const Api& api()
{
    static const Api loaded = [] {
        Api a;
        void* lib = dlopen("libcups.so.2", RTLD_NOW | RTLD_GLOBAL);
        if (!lib) return a;
        const auto sym = [lib](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
            return fn != nullptr;
        };
        a.ok = sym(a.getNamedDest, "cupsGetNamedDest") && sym(a.freeDests, "cupsFreeDests")
               && sym(a.getOption, "cupsGetOption") && sym(a.printFile, "cupsPrintFile")
               && sym(a.lastErrorString, "cupsLastErrorString");
        a.ipp = sym(a.ippNewRequest, "ippNewRequest") && sym(a.ippAddString, "ippAddString")
                && sym(a.doRequest, "cupsDoRequest") && sym(a.ippFindAttribute, "ippFindAttribute")
                && sym(a.ippGetString, "ippGetString") && sym(a.ippDelete, "ippDelete");
        return a;
    }();
    return loaded;
}

const Api& requireApi()
{
    if (!api().ok) throw EZvError(QStringLiteral("CUPS IS NOT AVAILABLE"));
    return api();
}

QString lastError(const Api& a)
{
    const char* text = a.lastErrorString();
    return text ? QString::fromUtf8(text) : QString();
}

// The printer-state-message, which says why a queue was stopped (cupsdisable -r).
QString stateMessage(const Api& a, const QString& queue)
{
    if (!a.ipp) return {};
    constexpr int kGetPrinterAttributes = 0x000B, kOperationGroup = 0x01, kUri = 0x45, kKeyword = 0x44, kAnyTag = 0;
    void* request = a.ippNewRequest(kGetPrinterAttributes);
    const QByteArray uri = "ipp://localhost/printers/" + QUrl::toPercentEncoding(queue);
    a.ippAddString(request, kOperationGroup, kUri, "printer-uri", nullptr, uri.constData());
    a.ippAddString(request, kOperationGroup, kKeyword, "requested-attributes", nullptr, "printer-state-message");
    void* response = a.doRequest(nullptr, request, "/"); // frees the request
    if (!response) return {};
    void* attribute = a.ippFindAttribute(response, "printer-state-message", kAnyTag);
    const char* text = attribute ? a.ippGetString(attribute, 0, nullptr) : nullptr;
    const QString message = text ? QString::fromUtf8(text) : QString();
    a.ippDelete(response);
    return message;
}

} // namespace

bool Available()
{
    return api().ok;
}

TQueueState QueueState(const QString& queue)
{
    const Api& a = requireApi();
    TQueueState state;
    cups_dest_t* dest = a.getNamedDest(nullptr, queue.toUtf8().constData(), nullptr);
    if (!dest) {
        state.Message = lastError(a);
        return state;
    }
    const auto option = [&](const char* name) {
        const char* value = a.getOption(name, dest->num_options, dest->options);
        return value ? QString::fromUtf8(value) : QString();
    };
    state.Known = true;
    state.Stopped = option("printer-state") == QLatin1String("5");
    state.Accepting = option("printer-is-accepting-jobs") != QLatin1String("false");
    a.freeDests(1, dest);
    state.Message = stateMessage(a, queue);
    return state;
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

int SubmitFile(const QString& queue, const QString& file, const QString& title,
               const QList<QPair<QByteArray, QByteArray>>& options)
{
    const Api& a = requireApi();
    std::vector<cups_option_t> raw;
    for (const auto& [name, value] : options)
        raw.push_back({const_cast<char*>(name.constData()), const_cast<char*>(value.constData())});
    const int job = a.printFile(queue.toUtf8().constData(), QFile::encodeName(file).constData(),
                                title.toUtf8().constData(), int(raw.size()), raw.data());
    if (job <= 0) throw EZvError(QStringLiteral("PRINT JOB REFUSED : %1 (%2)").arg(queue, lastError(a)));
    return job;
}

} // namespace zorvel::cups
