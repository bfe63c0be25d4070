#include "platform/InstanceChannel.h"

// The toolkit's own single-instance message reaches anotherInstanceStarted here.
InstanceChannel* InstanceChannel::listen (const juce::String&, Callback)
{
    return nullptr;
}

bool InstanceChannel::notifyRunningInstance (const juce::String&, const juce::String&)
{
    return false;
}
