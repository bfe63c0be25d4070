#pragma once

// Records what a hidgate library posts to its callback window, from
// whichever thread, and lets a test wait for it. Hand the library window().
//
// On Linux the "window" is a message sink whose post function runs on the
// posting thread, so a message is recorded the moment it is posted and the
// recorder also sees which thread posted it.
//
// On Windows it is a real hidden window from the program's own platform
// layer, on the test's thread: a posted message waits in that thread's queue
// until the loop runs. Every query therefore first runs the message loop
// until a marker posted behind everything queued so far comes through, which
// makes "posted before the query" mean "recorded" on both systems.
// PostMessage does not tell the receiver which thread posted, so there the
// recorder cannot see the posting thread (seesPostingThread).

#include "hidgate.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#if defined (_WIN32)
  #include "platform/MessageWindow.h"
  #include "support/MessageLoop.h"

  #include <algorithm>
#endif

struct PostedMessage
{
    unsigned int message;
    int deviceNumber;
    std::thread::id thread;   // the posting thread, where seesPostingThread
};

#if ! defined (_WIN32)

class SinkRecorder : public HidgateMessageSink
{
public:
    static constexpr bool seesPostingThread = true;

    SinkRecorder() { post = &SinkRecorder::record; }

    HidgateWindow window() { return this; }

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

#else

class SinkRecorder
{
public:
    static constexpr bool seesPostingThread = false;

    SinkRecorder()
    {
        const auto instance = platform::currentModule();

        // One class for the whole process: recorders may overlap, so none of
        // them unregisters it.
        static const bool registered = platform::registerWindowClass (className, &SinkRecorder::procedure, instance);
        (void) registered;

        handle = platform::createHiddenWindow (className, className, instance);
        recorders().push_back ({ handle, this });
    }

    ~SinkRecorder()
    {
        auto& list = recorders();
        list.erase (std::remove_if (list.begin(), list.end(), [this] (const auto& r) { return r.recorder == this; }), list.end());
        platform::destroyWindow (handle);
    }

    SinkRecorder (const SinkRecorder&) = delete;
    SinkRecorder& operator= (const SinkRecorder&) = delete;

    HidgateWindow window() { return handle; }

    // Runs the message loop until at least count messages have come; true if they did.
    bool waitFor (size_t count, int timeoutMs = 5000)
    {
        return testsupport::pumpUntil ([&] { return messages.size() >= count; }, timeoutMs);
    }

    std::vector<PostedMessage> all()
    {
        deliverQueued();
        return messages;
    }

    size_t count()
    {
        deliverQueued();
        return messages.size();
    }

    size_t countOf (unsigned int message)
    {
        deliverQueued();
        size_t n = 0;
        for (const auto& m : messages)
            n += m.message == message ? 1 : 0;
        return n;
    }

    void clear()
    {
        deliverQueued();
        messages.clear();
    }

private:
    static constexpr const char* className = "KMX_TEST_SINK";
    static constexpr unsigned int markerMessage = 0x7FFF;   // WM_APP + 0x3FFF, no test's number

    struct Entry
    {
        HidgateWindow handle;
        SinkRecorder* recorder;
    };

    static std::vector<Entry>& recorders()
    {
        static std::vector<Entry> list;   // touched on the test's thread only
        return list;
    }

    static intptr_t KMX_WINDOW_CALLBACK procedure (platform::WindowHandle w, unsigned int message, uintptr_t wParam, intptr_t lParam)
    {
        for (const auto& r : recorders())
        {
            if (r.handle != w)
                continue;

            if (message == markerMessage)
                ++r.recorder->markersSeen;
            else if (message >= 0x400)   // WM_USER and up: what a library posts
                r.recorder->messages.push_back ({ message, (int) wParam, std::thread::id() });

            return 0;
        }

        return platform::defaultWindowProcedure (w, message, wParam, lParam);
    }

    void deliverQueued()
    {
        const auto target = ++markersPosted;
        if (platform::postWindowMessage (handle, markerMessage, 0, 0))
            testsupport::pumpUntil ([&] { return markersSeen >= target; });
    }

    HidgateWindow handle {};
    std::vector<PostedMessage> messages;
    unsigned long markersPosted = 0, markersSeen = 0;
};

#endif

constexpr unsigned int testRemoval = 1025, testArrival = 1026, testInput = 1027;
