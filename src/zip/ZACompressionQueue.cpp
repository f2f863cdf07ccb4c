#include "ZACompressionQueue.h"

#include <algorithm>

namespace {
// Tiny entries still cost an open and some bookkeeping; counting each as at
// least this much keeps the number of them in flight bounded too.
constexpr qint64 MinimumCost = 4096;
// Small chunks are taken by a thread in runs of up to this many input bytes
// (and this many chunks): one hand-over and one wake-up of the writer per
// run, not per file, whose cost would otherwise exceed the compression.
constexpr qint64 RunBytes = qint64(64) * 1024;
constexpr std::size_t RunChunks = 32;
} // namespace

TZACompressionQueue::TZACompressionQueue(std::vector<TZAPlannedEntry> plan, int threads, qint64 budget)
    : m_plan(std::move(plan))
    , m_budget(budget)
{
    for (int i = 0; i < std::max(1, threads); ++i)
        m_threads.emplace_back([this] { work(); });
    std::lock_guard lock(m_mutex);
    topUp();
}

TZACompressionQueue::~TZACompressionQueue()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_tasks.clear();
    }
    m_workReady.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

bool TZACompressionQueue::Begin(const QString &path, int level, qint64 size)
{
    std::unique_lock lock(m_mutex);
    m_inEntry = false;
    // Usually the next planned entry; planned entries the writer passed by
    // (a failure before their turn) are dropped so the plan does not stall.
    for (std::size_t entry = m_nextEntry; entry < m_plan.size(); ++entry) {
        const TZAPlannedEntry &planned = m_plan[entry];
        if (planned.path != path || planned.level != level || planned.size != size)
            continue;
        dropBefore(entry, lock);
        m_current = entry;
        m_nextEntry = entry + 1;
        m_inEntry = true;
        return true;
    }
    return false;
}

TZAChunk TZACompressionQueue::NextChunk()
{
    std::unique_lock lock(m_mutex);
    topUp();
    std::unique_ptr<Slot> slot = takeFront(lock);
    topUp();
    return std::move(slot->chunk);
}

void TZACompressionQueue::End()
{
    std::unique_lock lock(m_mutex);
    if (!m_inEntry)
        return;
    m_inEntry = false;
    dropBefore(m_current + 1, lock);
}

// Drops every chunk of the entries before entry, made or not.
void TZACompressionQueue::dropBefore(std::size_t entry, std::unique_lock<std::mutex> &lock)
{
    while (!m_slots.empty() && m_slots.front()->entry < entry) {
        Slot *front = m_slots.front().get();
        if (!front->picked)
            m_tasks.erase(std::find(m_tasks.begin(), m_tasks.end(), front));
        else
            m_chunkDone.wait(lock, [front] { return front->done; });
        m_reserved -= front->cost;
        m_slots.pop_front();
    }
    if (m_dispatchEntry < entry) {
        m_dispatchEntry = entry;
        m_dispatchOffset = 0;
    }
    topUp();
}

std::unique_ptr<TZACompressionQueue::Slot> TZACompressionQueue::takeFront(std::unique_lock<std::mutex> &lock)
{
    Slot *front = m_slots.front().get();
    m_chunkDone.wait(lock, [front] { return front->done; });
    std::unique_ptr<Slot> slot = std::move(m_slots.front());
    m_slots.pop_front();
    m_reserved -= slot->cost;
    return slot;
}

void TZACompressionQueue::topUp()
{
    std::size_t added = 0;
    while (m_dispatchEntry < m_plan.size()) {
        const TZAPlannedEntry &entry = m_plan[m_dispatchEntry];
        const qint64 length = std::min(entry.chunkSize, entry.size - m_dispatchOffset);
        const qint64 cost = std::max(MinimumCost, length);
        // Nothing reserved means nothing else can free memory: the chunk
        // goes ahead even when it alone exceeds the budget.
        if (m_reserved > 0 && m_reserved + cost > m_budget)
            break;
        auto slot = std::make_unique<Slot>();
        slot->chunk.path = entry.path;
        slot->chunk.sourceSize = entry.size;
        slot->chunk.offset = m_dispatchOffset;
        slot->chunk.length = length;
        slot->chunk.level = entry.level;
        // Every chunk's data comes from the writer's thread, where it is
        // also freed: the threads' own heaps never each keep a share of
        // the budget.
        slot->chunk.data.reserve(TZAChunkMaker::OutputCapacity(length, entry.level));
        slot->entry = m_dispatchEntry;
        slot->cost = cost;
        m_reserved += cost;
        m_tasks.push_back(slot.get());
        m_slots.push_back(std::move(slot));
        ++added;
        m_dispatchOffset += length;
        if (m_dispatchOffset >= entry.size) {
            ++m_dispatchEntry;
            m_dispatchOffset = 0;
        }
    }
    // The writer takes chunks one by one and each frees room for about one
    // more: waking one thread for it, not all, spares the others a wake-up
    // that finds nothing to do.
    if (added == 1)
        m_workReady.notify_one();
    else if (added > 1)
        m_workReady.notify_all();
}

void TZACompressionQueue::work()
{
    // A thread that cannot get its compressor fails the chunks it takes,
    // which the writer then reports for their entries.
    std::unique_ptr<TZAChunkMaker> maker;
    try {
        maker = std::make_unique<TZAChunkMaker>();
    } catch (const std::exception &) {
    }
    std::unique_lock lock(m_mutex);
    std::vector<Slot *> run;
    for (;;) {
        m_workReady.wait(lock, [this] { return m_stop || !m_tasks.empty(); });
        if (m_stop)
            return;
        run.clear();
        qint64 runBytes = 0;
        while (!m_tasks.empty() && run.size() < RunChunks
               && (run.empty() || runBytes + m_tasks.front()->chunk.length <= RunBytes)) {
            Slot *slot = m_tasks.front();
            m_tasks.pop_front();
            slot->picked = true;
            runBytes += slot->chunk.length;
            run.push_back(slot);
        }
        lock.unlock();
        for (Slot *slot : run) {
            slot->chunk.status = TZAChunkStatus::ReadFailed;
            try {
                if (maker)
                    maker->Make(slot->chunk);
            } catch (const std::exception &) {
                slot->chunk.data.clear();
                slot->chunk.status = TZAChunkStatus::ReadFailed;
            }
        }
        lock.lock();
        for (Slot *slot : run)
            slot->done = true;
        m_chunkDone.notify_all();
    }
}
