#include "platform/RepaintPump.h"

#include <windows.h>

namespace
{
    bool runningUnderWine()
    {
        // Wine's ntdll exports its version; Windows' does not.
        const auto ntdll = GetModuleHandleA ("ntdll.dll");
        return ntdll != nullptr && GetProcAddress (ntdll, "wine_get_version") != nullptr;
    }

    class RepaintTimer final : public juce::Timer
    {
    public:
        void timerCallback() override
        {
            for (int i = juce::ComponentPeer::getNumPeers(); --i >= 0;)
                if (auto* peer = juce::ComponentPeer::getPeer (i))
                    peer->performAnyPendingRepaintsNow();
        }
    };

    RepaintTimer* pump = nullptr;
}

bool repaintPumpNeeded()
{
    static const bool needed = runningUnderWine();
    return needed;
}

void startRepaintPump()
{
    if (pump != nullptr || ! repaintPumpNeeded())
        return;

    pump = new RepaintTimer();
    pump->startTimerHz (60);
}

void stopRepaintPump()
{
    delete pump;
    pump = nullptr;
}

void prepareWindow (juce::TopLevelWindow& window)
{
    if (repaintPumpNeeded())
        window.setDropShadowEnabled (false);
}
