#pragma once
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TargetDirectory.h"

// Writes unpacked entries on threads of their own, so that creating, writing
// and closing files (slow under Wine, where each is a round trip to the
// server) overlaps with reading and inflating the next data. Entries go to
// the threads in turn; each thread takes a bounded queue of data chunks, which
// keeps the memory in use to a few MB whatever the entries' sizes.
namespace plinth {

class EntryWriters {
public:
    EntryWriters(TargetDirectory& target, int threads, std::uint64_t totalBytes, std::atomic<int>& percent);
    ~EntryWriters();
    EntryWriters(const EntryWriters&) = delete;
    EntryWriters& operator=(const EntryWriters&) = delete;

    // The next entry's file; its data follows with Write, then End.
    void Begin(const std::wstring& name);
    // Queues a copy of the data; false once a writer has failed.
    bool Write(const unsigned char* data, std::size_t size);
    // Ends the entry: with ok its file gets the time and is kept, otherwise
    // it is removed.
    void End(bool ok, const FILETIME& time);
    // Waits for every queued entry; answers the number of files written, or
    // -1 when creating or writing one failed.
    int Finish();

private:
    struct Item {
        enum Kind { kBegin, kData, kEnd } kind;
        std::wstring name;
        std::vector<unsigned char> data;
        bool ok;
        FILETIME time;
    };
    struct Worker {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<Item> queue;
        std::size_t queuedBytes = 0;
        bool stop = false;
        std::thread thread;
    };
    void Push(Item item);
    void Run(Worker& worker);
    void Count(std::size_t bytes);

    TargetDirectory& m_target; // only read once the threads run
    std::vector<std::unique_ptr<Worker>> m_workers;
    std::size_t m_current = 0;
    std::uint64_t m_total;
    std::atomic<std::uint64_t> m_done{0};
    std::atomic<int>& m_percent;
    std::atomic<int> m_written{0};
    std::atomic<bool> m_failed{false};
    bool m_finished = false;
};

} // namespace plinth
