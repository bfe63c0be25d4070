#include <gtest/gtest.h>

#include "platform/MessageWindow.h"
#include "support/MessageLoop.h"

#include <juce_events/juce_events.h>

#include <thread>
#include <vector>

namespace
{
    std::vector<std::string>* delivered = nullptr;

    intptr_t KMX_WINDOW_CALLBACK recordingProcedure (platform::WindowHandle w, unsigned int message, uintptr_t wParam, intptr_t lParam)
    {
        // Only the test's own messages (from WM_USER up): a real window also gets the system's,
        // such as those of its creation and destruction.
        if (delivered != nullptr && message >= 1024)
            delivered->push_back ("window " + std::to_string (message) + "/" + std::to_string (wParam));

        return platform::defaultWindowProcedure (w, message, wParam, lParam);
    }

    struct MessageWindow : ::testing::Test
    {
        void SetUp() override
        {
            delivered = &log;
            instance = platform::currentModule();
            ASSERT_NE (instance, nullptr);
            ASSERT_TRUE (platform::registerWindowClass ("TEST_WINDOW", recordingProcedure, instance));
            window = platform::createHiddenWindow ("TEST_WINDOW", "TEST_WINDOW", instance);
            ASSERT_NE (window, nullptr);
        }

        void TearDown() override
        {
            if (window != nullptr)
                platform::destroyWindow (window);
            platform::unregisterWindowClass ("TEST_WINDOW", instance);
            testsupport::pumpMessages (10);
            delivered = nullptr;
        }

        // Posts as the library does: through the sink's own function on Linux, PostMessage
        // (which the platform call is) on Windows.
        void post (unsigned int message, uintptr_t wParam)
        {
           #if defined (_WIN32)
            platform::postWindowMessage (window, message, wParam, 0);
           #else
            window->post (window, message, wParam, 0);
           #endif
        }

        std::vector<std::string> log;
        platform::ModuleHandle instance {};
        platform::WindowHandle window {};
    };
}

TEST_F (MessageWindow, DeliversOnTheMessageThreadInOrderWithJuceMessages)
{
    // Another thread interleaves JUCE's own messages with window messages,
    // as the worker and the library do.
    std::thread poster ([this]
    {
        for (int i = 0; i < 50; ++i)
        {
            juce::MessageManager::callAsync ([this, i] { log.push_back ("juce " + std::to_string (i)); });
            post (1027, (uintptr_t) i);
        }
    });
    poster.join();

    ASSERT_TRUE (testsupport::pumpUntil ([this] { return log.size() == 100; }));

   #if ! defined (_WIN32)
    // The Linux window queues into JUCE's own queue, behind what was posted before it.
    for (int i = 0; i < 50; ++i)
    {
        EXPECT_EQ (log[(size_t) (2 * i)], "juce " + std::to_string (i));
        EXPECT_EQ (log[(size_t) (2 * i + 1)], "window 1027/" + std::to_string (i));
    }
   #else
    // A real window's messages share the thread's queue with JUCE's wake-up message, but JUCE
    // runs every message waiting in its own queue at each wake-up, so only each kind keeps its
    // order.
    std::vector<std::string> juceMessages, windowMessages;
    for (const auto& entry : log)
        (entry.rfind ("juce ", 0) == 0 ? juceMessages : windowMessages).push_back (entry);

    ASSERT_EQ (windowMessages.size(), 50u);
    for (int i = 0; i < 50; ++i)
    {
        EXPECT_EQ (juceMessages[(size_t) i], "juce " + std::to_string (i));
        EXPECT_EQ (windowMessages[(size_t) i], "window 1027/" + std::to_string (i));
    }
   #endif
}

TEST_F (MessageWindow, DropsMessagesStillQueuedWhenTheWindowIsDestroyed)
{
    platform::postWindowMessage (window, 1025, 1, 0);
    post (1026, 2);
    platform::destroyWindow (window);
    window = nullptr;

    bool marker = false;
    juce::MessageManager::callAsync ([&] { marker = true; });
    ASSERT_TRUE (testsupport::pumpUntil ([&] { return marker; }));
    EXPECT_TRUE (log.empty());
}

TEST_F (MessageWindow, ClassRegistersOnceAndWindowsNeedARegisteredClass)
{
    EXPECT_FALSE (platform::registerWindowClass ("TEST_WINDOW", recordingProcedure, instance));
    EXPECT_EQ (platform::createHiddenWindow ("NO_SUCH_CLASS", "x", instance), nullptr);
    // No window, no message (PostMessage itself would queue it for the calling thread).
    EXPECT_FALSE (platform::postWindowMessage (nullptr, 1025, 0, 0));
}
