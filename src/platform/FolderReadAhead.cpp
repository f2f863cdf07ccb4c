#include "FolderReadAhead.h"

#include <algorithm>

namespace platform {

FolderReadAhead::FolderReadAhead(int threads, int held) : m_held(std::max(1, held))
{
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { work(); });
}

FolderReadAhead::~FolderReadAhead()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_workReady.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

bool FolderReadAhead::prefetch(const QString &folder)
{
    if (m_threads.empty())
        return false;
    std::lock_guard lock(m_mutex);
    if (m_jobs.contains(folder))
        return true;
    if (m_jobs.size() >= m_held)
        return false;
    auto job = std::make_shared<Job>();
    job->folder = folder;
    m_jobs.insert(folder, job);
    m_queue.push_back(job);
    m_workReady.notify_one();
    return true;
}

FolderListing FolderReadAhead::take(const QString &folder)
{
    std::unique_lock lock(m_mutex);
    const std::shared_ptr<Job> job = m_jobs.take(folder);
    if (!job) {
        lock.unlock();
        return readFolder(folder);
    }
    const auto queued = std::find(m_queue.begin(), m_queue.end(), job);
    if (queued != m_queue.end()) {
        // Not begun: reading it here is sooner than waiting for a thread.
        m_queue.erase(queued);
        lock.unlock();
        return readFolder(folder);
    }
    m_jobDone.wait(lock, [&job] { return job->done; });
    return std::move(job->listing);
}

void FolderReadAhead::forget(const QString &folder)
{
    std::lock_guard lock(m_mutex);
    // A listing being read is dropped by its thread when it is done.
    if (const std::shared_ptr<Job> job = m_jobs.take(folder))
        m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), job), m_queue.end());
}

void FolderReadAhead::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_workReady.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop)
            return;
        const std::shared_ptr<Job> job = m_queue.front();
        m_queue.pop_front();
        lock.unlock();
        FolderListing listing = readFolder(job->folder);
        lock.lock();
        job->listing = std::move(listing);
        job->done = true;
        m_jobDone.notify_all();
    }
}

} // namespace platform
