#pragma once

#include <juce_core/juce_core.h>
#include <functional>

// Carries a later start of the program to the running instance.
//
// Where the toolkit already delivers its own message to the running instance
// (Windows), listen() returns null and notifyRunningInstance() does nothing.
class InstanceChannel
{
public:
    using Callback = std::function<void (const juce::String& commandLine)>;

    virtual ~InstanceChannel() = default;

    // Starts listening for later instances of the application; the callback
    // runs on the message thread. Null when this system needs no channel.
    static InstanceChannel* listen (const juce::String& applicationName, Callback callback);

    // Called by a second instance that was refused: hands its command line to
    // the running one. Returns whether a running instance took it.
    static bool notifyRunningInstance (const juce::String& applicationName, const juce::String& commandLine);
};
