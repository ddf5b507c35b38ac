// Types of the print run: preview pages, the question asker and the progress report.
#pragma once

#include "zorvel_core_export.h"

#include <QPicture>
#include <QString>

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
