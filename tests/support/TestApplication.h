#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <atomic>

// Stands in for the program's Application, so that the main component's quit
// request can be seen: it counts the requests instead of ending the loop.
class TestApplication : public juce::JUCEApplication
{
public:
    TestApplication() : juce::JUCEApplication() {}

    // JUCE insists that an application object exists only in a standalone
    // app; give it the factory it checks for.
    static void allowInTests()
    {
        if (juce::JUCEApplicationBase::createInstance == nullptr)
            juce::JUCEApplicationBase::createInstance = [] () -> juce::JUCEApplicationBase* { return nullptr; };
    }

    const juce::String getApplicationName() override    { return "KMXUpdateProgramTests"; }
    const juce::String getApplicationVersion() override { return "0"; }
    bool moreThanOneInstanceAllowed() override          { return true; }
    void initialise (const juce::String&) override      {}
    void shutdown() override                            {}
    void anotherInstanceStarted (const juce::String&) override {}
    void systemRequestedQuit() override                 { ++quitRequests; }

    std::atomic<int> quitRequests { 0 };
};
