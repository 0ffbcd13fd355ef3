#include "EntryWriters.h"

#include <algorithm>

namespace plinth {

namespace {

constexpr std::size_t kQueueLimit = 2u << 20; // bytes of data waiting per thread

} // namespace

EntryWriters::EntryWriters(TargetDirectory& target, int threads, std::uint64_t totalBytes, std::atomic<int>& percent)
    : m_target(target), m_total(totalBytes), m_percent(percent)
{
    try {
        for (int i = 0; i < std::max(threads, 1); ++i) {
            m_workers.push_back(std::make_unique<Worker>());
            Worker& w = *m_workers.back();
            w.thread = std::thread([this, &w] { Run(w); });
        }
    } catch (...) {
        Finish(); // the threads already started end before the members go
        throw;
    }
}

EntryWriters::~EntryWriters()
{
    Finish();
}

void EntryWriters::Push(Item item)
{
    Worker& w = *m_workers[m_current];
    std::unique_lock<std::mutex> lock(w.mutex);
    w.changed.wait(lock, [&] { return w.queuedBytes < kQueueLimit || m_failed.load(); });
    w.queuedBytes += item.data.size();
    w.queue.push_back(std::move(item));
    w.changed.notify_all();
}

void EntryWriters::Begin(const std::wstring& name)
{
    Item item{Item::kBegin, name, {}, false, {}};
    Push(std::move(item));
}

bool EntryWriters::Write(const unsigned char* data, std::size_t size)
{
    if (m_failed.load())
        return false;
    Item item{Item::kData, std::wstring(), std::vector<unsigned char>(data, data + size), false, {}};
    Push(std::move(item));
    return !m_failed.load();
}

void EntryWriters::End(bool ok, const FILETIME& time)
{
    Item item{Item::kEnd, std::wstring(), {}, ok, time};
    Push(std::move(item));
    m_current = (m_current + 1) % m_workers.size();
}

int EntryWriters::Finish()
{
    if (!m_finished) {
        m_finished = true;
        for (auto& w : m_workers) {
            {
                std::lock_guard<std::mutex> lock(w->mutex);
                w->stop = true;
            }
            w->changed.notify_all();
        }
        for (auto& w : m_workers)
            if (w->thread.joinable())
                w->thread.join();
    }
    return m_failed.load() ? -1 : m_written.load();
}

void EntryWriters::Count(std::size_t bytes)
{
    std::uint64_t done = m_done.fetch_add(bytes) + bytes;
    int p = m_total ? static_cast<int>(std::min<std::uint64_t>(done * 100 / m_total, 99)) : 0;
    // The threads finish chunks in any order; the published value only grows.
    int shown = m_percent.load();
    while (p > shown && !m_percent.compare_exchange_weak(shown, p)) {
    }
}

void EntryWriters::Run(Worker& w)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring path;
    bool broken = false; // this entry could not be created or written
    for (;;) {
        Item item;
        {
            std::unique_lock<std::mutex> lock(w.mutex);
            w.changed.wait(lock, [&] { return !w.queue.empty() || w.stop; });
            if (w.queue.empty())
                break;
            item = std::move(w.queue.front());
            w.queue.pop_front();
            w.queuedBytes -= item.data.size();
        }
        w.changed.notify_all();
        switch (item.kind) {
        case Item::kBegin:
            try {
                file = m_target.Create(item.name, path);
            } catch (...) { // nothing may leave the thread: it would end the process
                file = INVALID_HANDLE_VALUE;
            }
            broken = file == INVALID_HANDLE_VALUE;
            break;
        case Item::kData: {
            const unsigned char* p = item.data.data();
            std::size_t left = item.data.size();
            while (!broken && left > 0) {
                DWORD n = 0;
                if (!WriteFile(file, p, static_cast<DWORD>(left), &n, nullptr) || n == 0)
                    broken = true;
                p += n;
                left -= n;
            }
            Count(item.data.size());
            break;
        }
        case Item::kEnd:
            if (file != INVALID_HANDLE_VALUE) {
                if (!broken && item.ok && !SetFileTime(file, nullptr, nullptr, &item.time))
                    broken = true;
                if (!CloseHandle(file))
                    broken = true;
                // A failed entry is not left half written.
                if (broken || !item.ok)
                    DeleteFileW(path.c_str());
                else
                    ++m_written;
            }
            file = INVALID_HANDLE_VALUE;
            break;
        }
        if (broken && !m_failed.exchange(true)) {
            for (auto& other : m_workers)
                other->changed.notify_all();
        }
    }
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        DeleteFileW(path.c_str());
    }
}

} // namespace plinth
