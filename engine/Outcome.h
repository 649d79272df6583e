#pragma once

#include "base/Failure.h"

#include <vector>

namespace tickerlux::engine {

// What a command did: whether it ran at all, and each step that failed, in order.
enum class Step {
    Fetch,     // downloading the page
    Delivery,  // one transmission to the sign
};

struct StepFailure {
    Step step;
    base::Failure failure;
};

class CommandOutcome {
public:
    // A command dropped because another one was running.
    static CommandOutcome Dropped()
    {
        CommandOutcome outcome;
        outcome.m_ran = false;
        return outcome;
    }

    void Add(Step step, const base::Failure& failure)
    {
        if (failure.Failed())
            m_failures.push_back({step, failure});
    }

    bool Ran() const { return m_ran; }
    // Ran, and no step failed.
    bool Succeeded() const { return m_ran && m_failures.empty(); }
    const std::vector<StepFailure>& Failures() const { return m_failures; }
    // The first failure of `step`, or nullptr.
    const base::Failure* FailureOf(Step step) const
    {
        for (const StepFailure& f : m_failures)
            if (f.step == step)
                return &f.failure;
        return nullptr;
    }

private:
    bool m_ran = true;
    std::vector<StepFailure> m_failures;
};

} // namespace tickerlux::engine
