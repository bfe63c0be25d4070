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
        if (delivered != nullptr)
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

        std::vector<std::string> log;
        platform::ModuleHandle instance {};
        platform::WindowHandle window {};
    };
}

TEST_F (MessageWindow, DeliversOnTheMessageThreadInOrderWithJuceMessages)
{
    // Another thread interleaves JUCE's own messages with window messages
    // posted through the sink, as the worker and the library do.
    std::thread poster ([this]
    {
        for (int i = 0; i < 50; ++i)
        {
            juce::MessageManager::callAsync ([this, i] { log.push_back ("juce " + std::to_string (i)); });
            window->post (window, 1027, (uintptr_t) i, 0);
        }
    });
    poster.join();

    ASSERT_TRUE (testsupport::pumpUntil ([this] { return log.size() == 100; }));

    for (int i = 0; i < 50; ++i)
    {
        EXPECT_EQ (log[(size_t) (2 * i)], "juce " + std::to_string (i));
        EXPECT_EQ (log[(size_t) (2 * i + 1)], "window 1027/" + std::to_string (i));
    }
}

TEST_F (MessageWindow, DropsMessagesStillQueuedWhenTheWindowIsDestroyed)
{
    platform::postWindowMessage (window, 1025, 1, 0);
    window->post (window, 1026, 2, 0);
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
    EXPECT_FALSE (platform::postWindowMessage (nullptr, 1025, 0, 0));
}
