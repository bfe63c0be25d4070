#pragma once

#include "EmulatorControl.h"
#include "device/HidHandler.h"
#include "support/MessageLoop.h"

#include <juce_events/juce_events.h>

namespace devicetest
{
    // Lets every answer the emulator owes be posted, then handles every
    // message queued so far.
    inline void settle()
    {
        hidgate_emulator::waitUntilIdle();
        bool reached = false;
        juce::MessageManager::callAsync ([&reached] { reached = true; });
        testsupport::pumpUntil ([&reached] { return reached; });
    }

    struct RecordingHandler : HidHandler
    {
        void deviceRemoved() override { ++removed; }
        void deviceArrived() override { ++arrived; }
        void inputReceived() override { ++inputs; }

        int removed = 0, arrived = 0, inputs = 0;
    };
}
