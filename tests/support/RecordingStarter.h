#pragma once

#include "platform/ProgramStarter.h"

#include <deque>
#include <functional>
#include <vector>

// A program starter that starts nothing: it keeps every request for the
// test to inspect and answers with the results the test lays out (Started
// when none is left). Installed for the lifetime of the object.
class RecordingStarter final {
public:
    RecordingStarter()
    {
        auto starter = std::make_unique<Starter>(*this);
        platform::setProgramStarter(std::move(starter));
    }
    ~RecordingStarter() { platform::setProgramStarter(nullptr); }
    RecordingStarter(const RecordingStarter &) = delete;
    RecordingStarter &operator=(const RecordingStarter &) = delete;

    std::deque<platform::ProgramRun> results;
    std::vector<platform::ProgramRequest> requests;
    // Plays what happens while a program runs, before its result is given.
    std::function<void(const platform::ProgramRequest &)> whileRunning;

private:
    class Starter final : public platform::ProgramStarter {
    public:
        explicit Starter(RecordingStarter &owner) : m_owner(owner) {}
        platform::ProgramRun start(const platform::ProgramRequest &request, platform::StopFlags) override
        {
            m_owner.requests.push_back(request);
            if (m_owner.whileRunning)
                m_owner.whileRunning(request);
            if (m_owner.results.empty())
                return platform::ProgramRun::Started;
            const platform::ProgramRun result = m_owner.results.front();
            m_owner.results.pop_front();
            return result;
        }

    private:
        RecordingStarter &m_owner;
    };
};
