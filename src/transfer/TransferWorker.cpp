#include "app/MainComponent.h"

#include "device/HidCtrl.h"
#include "package/PackageFile.h"
#include "transfer/TransferProtocol.h"

namespace
{
    // The main component's side of the transfer: reports go out through the
    // device connection, answers come back in `response` through the message
    // thread, which signals `responseEvent`.
    class MainComponentLink final : public TransferLink
    {
    public:
        MainComponentLink (MainComponent& owner, HidCtrl& device, juce::WaitableEvent& event,
                           const juce::uint8* answerBytes, juce::CriticalSection& lock,
                           std::atomic<double>& progressValue, double& percent)
            : mc (owner), hidCtrl (device), responseEvent (event), response (answerBytes),
              stateLock (lock), progress (progressValue), lastPercent (percent)
        {
        }

        void write (const std::uint8_t* report) override
        {
            hidCtrl.writeIfConnected (report, Reports::reportSize);
        }

        bool waitForAnswer (int timeoutMs, Answer& answer) override
        {
            if (! responseEvent.wait (timeoutMs))
                return false;

            responseEvent.reset();

            // Read under the lock, so that a writer of `response` that holds
            // it too (Cancel, a removal) is ordered after this read.
            const juce::ScopedLock sl (stateLock);
            answer.code = response[0];
            answer.percent = response[1];
            return true;
        }

        void requestState (ScreenState s) override     { mc.requestState (s); }

        // The bar reads the value on the message thread. A release store
        // costs nothing more on common processors and orders the answer we
        // just read before anything that has seen the new value.
        void setProgress (double f) override           { progress.store (f, std::memory_order_release); }

        double reportedPercent() const override        { return lastPercent; }
        void setReportedPercent (double p) override    { lastPercent = p; }

        // The thread's own wait, which stopThread cuts short.
        void pause (int ms) override                   { mc.wait (ms); }

    private:
        MainComponent& mc;
        HidCtrl& hidCtrl;
        juce::WaitableEvent& responseEvent;
        const juce::uint8* response;
        juce::CriticalSection& stateLock;
        std::atomic<double>& progress;
        double& lastPercent;
    };
}

void MainComponent::run()
{
    TransferPackage package;
    package.file = PackageFile::besideExecutable ("KMX-Q7_UP.upd");

    auto& a = package.announcement;
    a.version = packageVersion;
    a.payloadSize = packageSize > 0 ? (std::uint32_t) packageSize : 0u;

    for (int i = 0; i < Reports::segmentCount; ++i)
    {
        a.lengths[i] = segmentLength[i];
        a.checksums[i] = segmentChecksum[i];
        a.enabled[i] = segmentEnabled[i];
    }

    MainComponentLink link (*this, *hidCtrl, responseEvent, response, stateLock, progress, reportedPercent);
    TransferProtocol (link, package, WorkerTimings::current()).run();
}
