#pragma once

#include "platform/FolderWalk.h"

#include <QHash>
#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

// Lists folders on threads of its own before the caller asks for them, so
// that the look-ups and stat calls of a tree walk overlap the caller's work
// on the folders before. A listing taken is the one readFolder gives; the
// caller still sees the folders in its own order. At most a fixed number of
// listings are held or being read at once; a folder asked for beyond that
// is listed on the caller's thread. Only one thread calls the public
// operations.
class FolderReadAhead {
public:
    // threads of 0 lists every folder on the caller's thread.
    FolderReadAhead(int threads, int held);
    ~FolderReadAhead();
    FolderReadAhead(const FolderReadAhead &) = delete;
    FolderReadAhead &operator=(const FolderReadAhead &) = delete;

    // Starts listing folder unless it is already under way or no room is
    // left; false when there was no room.
    bool prefetch(const QString &folder);
    // The listing of folder, read ahead or read now.
    FolderListing take(const QString &folder);
    // Drops a listing read ahead that will not be taken.
    void forget(const QString &folder);

private:
    struct Job {
        QString folder;
        FolderListing listing;
        bool done = false;
    };

    void work();

    const int m_held;
    std::mutex m_mutex;
    std::condition_variable m_workReady;
    std::condition_variable m_jobDone;
    QHash<QString, std::shared_ptr<Job>> m_jobs; // prefetched, not yet taken
    std::deque<std::shared_ptr<Job>> m_queue;    // not yet picked by a thread
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};

} // namespace platform
