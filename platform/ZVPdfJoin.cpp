// PDF parts joined with libqpdf, written through a save file.
#include "platform/ZVPdfJoin.h"

#include "foundation/ZVError.h"

#include <QSaveFile>

// qpdf's smart pointers as std::shared_ptr, without the old PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <memory>
#include <stdexcept>
#include <vector>

namespace zorvel {
namespace {

// qpdf's output into a save file, so that the joined file appears only when complete.
class SaveFilePipeline final : public Pipeline
{
public:
    explicit SaveFilePipeline(QSaveFile& file) : Pipeline("save file", nullptr), m_file(file) {}
    void write(unsigned char const* data, size_t len) override
    {
        if (m_file.write(reinterpret_cast<const char*>(data), qint64(len)) != qint64(len))
            throw std::runtime_error("write failed");
    }
    void finish() override {}

private:
    QSaveFile& m_file;
};

} // namespace

void JoinPdfFiles(const QStringList& parts, const QString& fileName)
{
    const auto cantWrite = [&] { return EZvError(QStringLiteral("CAN'T WRITE FILE : ") + fileName); };
    QSaveFile file(fileName);
    if (parts.isEmpty() || !file.open(QIODevice::WriteOnly)) throw cantWrite();
    try {
        QPDF joined;
        joined.emptyPDF();
        joined.setSuppressWarnings(true);
        QPDFPageDocumentHelper pages(joined);
        // The parts are read as their pages are written; they stay open until then.
        std::vector<std::unique_ptr<QPDF>> inputs;
        std::string version = "1.4";
        for (const QString& part : parts) {
            auto input = std::make_unique<QPDF>();
            input->setSuppressWarnings(true);
            input->processFile(part.toLocal8Bit().constData());
            for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*input).getAllPages()) pages.addPage(page, false);
            if (inputs.empty()) {
                version = input->getPDFVersion();
                QPDFObjectHandle info = input->getTrailer().getKey("/Info");
                if (info.isIndirect()) joined.getTrailer().replaceKey("/Info", joined.copyForeignObject(info));
            }
            inputs.push_back(std::move(input));
        }
        QPDFWriter writer(joined);
        SaveFilePipeline output(file);
        writer.setOutputPipeline(&output);
        writer.setMinimumPDFVersion(version);
        // The parts' streams are compressed already: decoding and compressing them again would
        // cost the time the threads saved.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setStreamDataMode(qpdf_s_preserve);
        writer.write();
    } catch (const std::exception&) {
        file.cancelWriting();
        throw cantWrite();
    }
    if (!file.commit()) throw cantWrite();
}

} // namespace zorvel
