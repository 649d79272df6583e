#include "app/WindowJobRunner.h"

#include <QMetaObject>

namespace tickerlux::app {

CWindowJobRunner::CWindowJobRunner(ProgressHandler progress, OutcomeHandler finished)
    : m_progress(std::move(progress)), m_finished(std::move(finished))
{
}

bool CWindowJobRunner::Start(engine::JobRequest request)
{
    // The handlers run queued on this object's thread, with copies of the worker's values.
    return m_runner.Start(
        std::move(request),
        [this](const engine::JobProgress& progress) {
            QMetaObject::invokeMethod(this, [this, progress] { m_progress(progress); },
                                      Qt::QueuedConnection);
        },
        [this](const engine::JobOutcome& outcome) {
            QMetaObject::invokeMethod(this, [this, outcome] { m_finished(outcome); },
                                      Qt::QueuedConnection);
        });
}

} // namespace tickerlux::app
