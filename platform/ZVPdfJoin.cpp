// PDF parts joined with libqpdf, written through a save file.
#include "platform/ZVPdfJoin.h"

#include "foundation/ZVError.h"

#include <QFile>
#include <QSaveFile>

// qpdf's smart pointers as std::shared_ptr, without the old PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

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

// Read from the file mapped into memory: through a file, qpdf makes a seek and a read for every
// object. Mapped, the pages stay the file's, not the process's, however large the parts.
std::unique_ptr<QPDF> readPart(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("unreadable part");
    const qint64 size = file.size();
    const uchar* bytes = size > 0 ? file.map(0, size) : nullptr;
    if (!bytes) throw std::runtime_error("unreadable part");
    auto input = std::make_unique<QPDF>();
    input->setSuppressWarnings(true);
    input->processMemoryFile(file.fileName().toLocal8Bit().constData(), reinterpret_cast<const char*>(bytes),
                             size_t(size));
    return input;
}

} // namespace

// The first part takes the others' pages; each part stays mapped until written, as its page
// streams are read only then. The files go after the documents that read them.
struct TZVPdfJoin::TDocuments
{
    std::vector<std::unique_ptr<QFile>> Files;
    std::vector<std::unique_ptr<QPDF>> Parts;
    std::unique_ptr<QPDFPageDocumentHelper> Pages;
};

TZVPdfJoin::TZVPdfJoin(const QString& fileName)
    : m_fileName(fileName), m_documents(std::make_unique<TDocuments>())
{
}

TZVPdfJoin::~TZVPdfJoin() = default;

void TZVPdfJoin::cantWrite() const
{
    throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + m_fileName);
}

void TZVPdfJoin::Add(const QString& part)
{
    try {
        // Kept before its pages are taken: the first part's copies of some may refer to it.
        QPDF& input = *m_documents->Parts.emplace_back(
            readPart(*m_documents->Files.emplace_back(std::make_unique<QFile>(part))));
        if (!m_documents->Pages) {
            m_documents->Pages = std::make_unique<QPDFPageDocumentHelper>(input);
        } else {
            for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(input).getAllPages())
                m_documents->Pages->addPage(page, false);
        }
    } catch (const std::exception&) {
        cantWrite();
    }
}

void TZVPdfJoin::Write()
{
    QSaveFile file(m_fileName);
    if (m_documents->Parts.empty() || !file.open(QIODevice::WriteOnly)) cantWrite();
    try {
        QPDFWriter writer(*m_documents->Parts.front());
        SaveFilePipeline output(file);
        writer.setOutputPipeline(&output);
        // The parts' streams are compressed already: decoding and compressing them again would
        // cost the time the threads saved.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setStreamDataMode(qpdf_s_preserve);
        writer.write();
    } catch (const std::exception&) {
        file.cancelWriting();
        cantWrite();
    }
    if (!file.commit()) cantWrite();
}

void JoinPdfFiles(const QStringList& parts, const QString& fileName)
{
    TZVPdfJoin join(fileName);
    for (const QString& part : parts)
        join.Add(part);
    join.Write();
}

} // namespace zorvel
