#pragma once

// A message sink that records what a hidgate library posts to it, from
// whichever thread, and lets a test wait for it.

#include "hidgate.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

struct PostedMessage
{
    unsigned int message;
    int deviceNumber;
    std::thread::id thread;
};

class SinkRecorder : public HidgateMessageSink
{
public:
    SinkRecorder() { post = &SinkRecorder::record; }

    // Waits until at least count messages have been posted; true if they were.
    bool waitFor (size_t count, int timeoutMs = 5000)
    {
        std::unique_lock<std::mutex> l (lock);
        return changed.wait_for (l, std::chrono::milliseconds (timeoutMs), [&] { return messages.size() >= count; });
    }

    std::vector<PostedMessage> all()
    {
        std::lock_guard<std::mutex> l (lock);
        return messages;
    }

    size_t count()
    {
        std::lock_guard<std::mutex> l (lock);
        return messages.size();
    }

    size_t countOf (unsigned int message)
    {
        std::lock_guard<std::mutex> l (lock);
        size_t n = 0;
        for (const auto& m : messages)
            n += m.message == message ? 1 : 0;
        return n;
    }

    void clear()
    {
        std::lock_guard<std::mutex> l (lock);
        messages.clear();
    }

private:
    static void record (HidgateMessageSink* sink, unsigned int message, uintptr_t wParam, intptr_t)
    {
        auto* self = static_cast<SinkRecorder*> (sink);
        {
            std::lock_guard<std::mutex> l (self->lock);
            self->messages.push_back ({ message, (int) wParam, std::this_thread::get_id() });
        }
        self->changed.notify_all();
    }

    std::mutex lock;
    std::condition_variable changed;
    std::vector<PostedMessage> messages;
};

constexpr unsigned int testRemoval = 1025, testArrival = 1026, testInput = 1027;
