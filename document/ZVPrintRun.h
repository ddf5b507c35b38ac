// Types of the print run: preview pages, the question asker and the progress report.
#pragma once

#include "zorvel_core_export.h"

#include <QPicture>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace zorvel {

/// One rendered preview page.
struct TZVPagePreview
{
    int PageNumber = 0; ///< 1-based
    std::unique_ptr<QPicture> Picture; ///< the page as recorded, owned by the preview
};

/// One element's content on one label of a dry run.
struct TZVLabelValue
{
    int Page = 0; ///< 1-based page, row and column of the label
    int Row = 0;  ///< see Page
    int Col = 0;  ///< see Page
    std::int64_t Record = 0; ///< the record's number in its data set (the label's, without data)
    std::int64_t Copy = 0;   ///< 1-based copy of that record
    QString Element;         ///< the element's ID
    QString Content;         ///< what it prints
};

/// Asks the user for the answer to a question element before a print or preview. The GUI shows
/// an input box, a headless run answers from its command line.
class ZORVEL_CORE_EXPORT TZVQuestionAsker
{
public:
    virtual ~TZVQuestionAsker() = default;
    /// nullopt keeps the current answer (a dismissed box).
    virtual std::optional<QString> ask(const QString& caption, const QString& question,
                                       const QString& defaultAnswer) = 0;
};

/// Called before each printed label with the page being printed and the run's page count;
/// returning false cancels the job.
using TZVPrintProgress = std::function<bool(int page, int pageCount)>;

} // namespace zorvel
