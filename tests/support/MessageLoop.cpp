#include "support/MessageLoop.h"
#include <juce_events/juce_events.h>

namespace testsupport
{
    void pumpMessages (int milliseconds)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    bool pumpUntil (const std::function<bool()>& condition, int timeoutMilliseconds)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMilliseconds;

        while (! condition())
        {
            if (juce::Time::getMillisecondCounter() >= end)
                return condition();

            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
        }

        return true;
    }
}
