#pragma once

#include "zip/ZAChunkMaker.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// An entry the writer is going to ask for, in the order it will.
struct TZAPlannedEntry {
    QString path;
    qint64 size = 0;
    int level = 0;
    qint64 chunkSize = 0;
};

// Makes the chunks of planned entries ahead of the writer on a pool of
// threads and hands them over strictly in plan order. Memory is reserved in
// that same order from a fixed budget of input bytes, so the chunk the
// writer waits for always has its memory: everything reserved before it has
// already been handed over. Only the writer's thread calls the public
// operations.
class TZACompressionQueue {
public:
    TZACompressionQueue(std::vector<TZAPlannedEntry> plan, int threads, qint64 budget);
    // Stops the pool; chunks not made yet are dropped.
    ~TZACompressionQueue();
    TZACompressionQueue(const TZACompressionQueue &) = delete;
    TZACompressionQueue &operator=(const TZACompressionQueue &) = delete;

    // True when this entry is planned (and not yet begun): its chunks then
    // follow from NextChunk. False leaves the plan where it is.
    bool Begin(const QString &path, int level, qint64 size);
    // The next chunk of the entry begun, once it is made.
    TZAChunk NextChunk();
    // Drops the chunks of the entry begun that were not taken.
    void End();

private:
    struct Slot {
        TZAChunk chunk;
        std::size_t entry = 0;
        qint64 cost = 0;
        bool picked = false;
        bool done = false;
    };

    void topUp();
    void dropBefore(std::size_t entry, std::unique_lock<std::mutex> &lock);
    void work();
    std::unique_ptr<Slot> takeFront(std::unique_lock<std::mutex> &lock);

    const std::vector<TZAPlannedEntry> m_plan;
    const qint64 m_budget;
    std::size_t m_nextEntry = 0; // the next entry the writer may begin
    std::size_t m_current = 0;   // the entry begun
    bool m_inEntry = false;
    std::size_t m_dispatchEntry = 0;
    qint64 m_dispatchOffset = 0;
    qint64 m_reserved = 0;

    std::mutex m_mutex;
    std::condition_variable m_workReady;
    std::condition_variable m_chunkDone;
    std::deque<std::unique_ptr<Slot>> m_slots; // in plan order, not yet handed over
    std::deque<Slot *> m_tasks;                // not yet picked by a thread
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};
