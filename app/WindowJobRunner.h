#pragma once

#include "engine/JobRunner.h"

#include <QObject>

#include <functional>

namespace tickerlux::app {

// The engine's job runner for a window: the job runs on a worker, and its progress and outcome
// are handed to the thread that owns this object, through its event queue. Nothing else of the
// job reaches the window, so no widget is ever touched from the worker.
class CWindowJobRunner : public QObject {
    Q_OBJECT
public:
    using ProgressHandler = std::function<void(const engine::JobProgress&)>;
    using OutcomeHandler = std::function<void(const engine::JobOutcome&)>;

    CWindowJobRunner(ProgressHandler progress, OutcomeHandler finished);
    // The runner abandons a running job and waits for its worker, so no job outlives the window;
    // what the worker posts meanwhile is dropped with this object, unseen.
    ~CWindowJobRunner() override = default;
    CWindowJobRunner(const CWindowJobRunner&) = delete;
    CWindowJobRunner& operator=(const CWindowJobRunner&) = delete;

    // False, with nothing done, while a job runs.
    bool Start(engine::JobRequest request);
    void RequestStop() { m_runner.RequestStop(); }
    void Abandon() { m_runner.Abandon(); }

private:
    ProgressHandler m_progress;
    OutcomeHandler m_finished;
    engine::CJobRunner m_runner;
};

} // namespace tickerlux::app
