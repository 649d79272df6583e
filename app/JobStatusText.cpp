#include "app/JobStatusText.h"

#include "app/WidgetText.h"

namespace tickerlux::app::jobstatus {

using engine::JobCommand;
using engine::JobStage;

QString StageText(const engine::JobProgress& progress, Waiting waiting)
{
    const bool downloading = progress.stage == JobStage::Downloading;
    if (waiting == Waiting::Close)
        return downloading ? QStringLiteral("Stopping the download before closing\u2026")
                           : QStringLiteral("Finishing the delivery before closing\u2026");
    if (waiting == Waiting::Stop)
        return downloading ? QStringLiteral("Stopping the download\u2026")
                           : QStringLiteral("Finishing the delivery\u2026");
    switch (progress.stage) {
    case JobStage::Downloading:
        // Whole kilobytes, a started one counted.
        return progress.done > 0 ? QStringLiteral("Downloading page\u2026 %1 KB").arg((progress.done + 1023) / 1024)
                                 : QStringLiteral("Downloading page\u2026");
    case JobStage::WaitingForPort:
        return QStringLiteral("Waiting for %1, which another program holds\u2026")
            .arg(QString::fromStdString(progress.port));
    case JobStage::Sending:
        return progress.total > 0 ? QStringLiteral("Sending to the sign\u2026 %1 %").arg(Percent(progress))
                                  : QStringLiteral("Sending to the sign\u2026");
    case JobStage::Clearing:
        return QStringLiteral("Clearing the sign\u2026");
    case JobStage::Finishing:
        break;
    }
    return QStringLiteral("Finishing the delivery\u2026");
}

int Percent(const engine::JobProgress& progress)
{
    const bool counted = progress.stage == JobStage::Sending || progress.stage == JobStage::Clearing;
    return counted && progress.total > 0 ? static_cast<int>(progress.done * 100 / progress.total) : -1;
}

QString OutcomeText(const engine::JobOutcome& outcome)
{
    if (outcome.stopped)
        return QStringLiteral("Stopped");
    if (!outcome.messages.empty()) {
        const QString first = widgettext::FromBytes(outcome.messages.front());
        return first.left(first.indexOf(u'\n'));
    }
    // A delivery that failed has no message box of its own; the status bar says why.
    if (const base::Failure* failed = outcome.steps.FailureOf(engine::Step::Delivery))
        return QStringLiteral("The sign could not be reached: ") + QString::fromStdString(failed->Text());
    switch (outcome.command) {
    case JobCommand::ClearSign:
        return QStringLiteral("Sign cleared");
    case JobCommand::UpdateSourceOnly:
        return QStringLiteral("Page downloaded");
    case JobCommand::FindHeadlines:
        return QStringLiteral("Page searched for headlines");
    case JobCommand::UpdateSignNow:
    case JobCommand::SendLine:
        break;
    }
    return QStringLiteral("Sign updated");
}

} // namespace tickerlux::app::jobstatus
