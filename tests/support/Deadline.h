#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <thread>

// Runs work on a thread of its own and tells whether it ended within the
// time, so a test of "never hangs" fails at once instead of hanging until
// CTest's limit kills it. A late thread is left to the end of the test
// program; work must therefore own everything it uses.
template <typename Work>
bool finishesWithin(std::chrono::milliseconds limit, Work work)
{
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([done, work = std::move(work)]() mutable {
        work();
        done->set_value();
    }).detach();
    return finished.wait_for(limit) == std::future_status::ready;
}
