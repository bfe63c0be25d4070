// Whole firmware transfers through the program's own path: Start on the Ready
// screen, the worker thread, HidCtrl, the emulated controller's answers
// through the message thread into `response` and `responseEvent`.
//
//   bench_transfer [RUNS]    (default 3; the best run of each case is printed)
//
// (a) round trips per second against a controller that answers at once: the
//     program's own cost per report. The 100 ms pauses between finish polls
//     are idle time by design, so this case runs with no pause.
// (b) the same package against a controller paced like a full-speed USB link,
//     each answer 2 ms (two 1 ms frames: the report out, the answer in) after
//     its report, with the program's own timings. The floor is 2 ms for each
//     report plus the pauses between finish polls; the figure is floor / time.
#include "EmulatorControl.h"
#include "app/MainComponent.h"
#include "package/PackageChecksum.h"
#include "package/PackageFile.h"
#include "package/PackageLayout.h"
#include "support/MainComponentProbe.h"
#include "transfer/TransferTimings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
    namespace emu = hidgate_emulator;
    using namespace PackageLayout;
    using Clock = std::chrono::steady_clock;

    constexpr std::size_t payload = 256u << 10;   // 256 KiB of segment data

    // Eight enabled segments of 32 KiB each, version 1.10.
    std::vector<std::uint8_t> makePackage()
    {
        const auto segment = (std::uint32_t) (payload / recordCount);
        std::vector<std::uint8_t> out (fixedOverhead + payload, ' ');
        std::uint32_t state = 2463534242u;

        std::copy_n ("110", 3, out.begin() + (long) versionOffset);
        std::size_t p = headerSize;

        for (int i = 0; i < recordCount; ++i)
        {
            std::copy_n ("KMX-Q7 ", identifierSize, out.begin() + (long) p);
            out[p + flagOffset] = 'Y';

            for (int b = 0; b < 4; ++b)
                out[p + lengthOffset + (size_t) b] = (std::uint8_t) (segment >> (8 * b));

            auto* data = out.data() + p + dataOffset;

            for (std::uint32_t k = 0; k < segment; ++k)
            {
                state ^= state << 13; state ^= state >> 17; state ^= state << 5;
                data[k] = (std::uint8_t) state;
            }

            const auto c = packageChecksum (data, (int) segment);
            data[segment] = (std::uint8_t) (c & 0xFF);
            data[segment + 1] = (std::uint8_t) (c >> 8);
            p += segment + recordOverhead;
        }

        return out;
    }

    struct Run
    {
        double seconds = 0;
        int reports = 0;
        int finishPolls = 0;
        bool complete = false;
    };

    struct Case
    {
        int answerDelayMs;
        TransferTimings timings;
        Run best;
        int done = 0;
    };

    // Runs the transfers from inside the program's own kind of message loop
    // (runDispatchLoop, which sleeps in poll until a message comes), so that
    // no polling of ours adds to any round trip. A timer looks in every
    // millisecond to see whether the running transfer has ended.
    class Driver : private juce::Timer
    {
    public:
        Driver (std::vector<Case>& c, int r) : cases (c), runs (r) { startTimer (1); }

        bool failed = false;

    private:
        void timerCallback() override
        {
            if (mc != nullptr)
            {
                if (mc->isThreadRunning() || ! (mc->getState() == Complete || mc->getState() == Failed))
                    return;

                Run r;
                r.seconds = std::chrono::duration<double> (Clock::now() - started).count();
                r.reports = emu::reportsWritten();
                r.finishPolls = emu::received().finishPolls;
                r.complete = mc->getState() == Complete;
                mc.reset();
                WorkerTimings::restoreDefaults();

                auto& c = cases[current];
                failed = failed || ! r.complete;

                if (c.done == 0 || r.seconds < c.best.seconds)
                    c.best = r;

                if (++c.done == runs)
                    ++current;
            }

            if (failed || current >= cases.size())
            {
                stopTimer();
                juce::MessageManager::getInstance()->stopDispatchLoop();
                return;
            }

            auto& c = cases[current];
            emu::reset();
            emu::setAnswerDelay (c.answerDelayMs);
            WorkerTimings::use (c.timings);

            mc = std::make_unique<MainComponent>();
            MainComponentProbe probe (*mc);
            probe.clickOk();   // language screen -> Ready

            if (mc->getState() != Ready || probe.packageValid() != 1)
            {
                failed = true;
                return;
            }

            emu::clearReceived();
            started = Clock::now();
            probe.clickOk();   // Start
        }

        std::vector<Case>& cases;
        const int runs;
        std::size_t current = 0;
        std::unique_ptr<MainComponent> mc;
        Clock::time_point started;
    };
}

int main (int argc, char** argv)
{
    const int runs = argc > 1 ? std::max (1, std::atoi (argv[1])) : 3;
    juce::ScopedJuceInitialiser_GUI juce;

    const auto package = makePackage();
    const auto file = PackageFile::besideExecutable ("KMX-Q7_UP.upd");

    if (! file.replaceWithData (package.data(), package.size()))
    {
        std::fprintf (stderr, "cannot write %s\n", file.getFullPathName().toRawUTF8());
        return 1;
    }

    TransferTimings noPause;
    noPause.pollPauseMs = 0;
    const TransferTimings program;
    const int frameMs = 2;

    std::vector<Case> cases { { 0, noPause, {} }, { frameMs, program, {} } };
    bool failed = false;
    {
        Driver driver (cases, runs);
        juce::MessageManager::getInstance()->runDispatchLoop();
        failed = driver.failed;
    }

    if (failed)
    {
        std::fprintf (stderr, "a transfer did not complete\n");
        file.deleteFile();
        return 1;
    }

    const auto& a = cases[0].best;
    const auto& b = cases[1].best;

    std::printf ("package %zu bytes of segment data, %d reports per transfer (%d finish polls), best of %d\n",
                 payload, a.reports, a.finishPolls, runs);
    std::printf ("(a) instant answers:  %.3f s, %.0f round trips/s, %.1f us per report\n",
                 a.seconds, a.reports / a.seconds, 1e6 * a.seconds / a.reports);

    const double floor = (b.reports * frameMs + b.finishPolls * program.pollPauseMs) / 1000.0;

    std::printf ("(b) full-speed pacing: %.3f s for %d reports, floor %.3f s (%d ms per report + %d x %d ms poll pause), "
                 "ratio %.3f of the floor\n",
                 b.seconds, b.reports, floor, frameMs, b.finishPolls, program.pollPauseMs, floor / b.seconds);

    file.deleteFile();
    return 0;
}
