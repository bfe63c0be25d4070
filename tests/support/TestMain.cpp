#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// JUCE is initialised once per process, on the thread that runs the tests,
// so each test body runs on the message thread. Component tests work without
// any display; tests labelled "display" open real windows.
int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
