#include <gtest/gtest.h>

#include "EmulatorControl.h"
#include "package/CraftedPackage.h"
#include "package/PackageFile.h"
#include "package/PackageLayout.h"
#include "support/MainComponentProbe.h"
#include "support/MessageLoop.h"
#include "support/TestApplication.h"
#include "transfer/TransferTimings.h"

// Whole transfers through the real path: Start on the Ready screen, the
// worker thread, HidCtrl, the emulated controller's answers through the
// message thread into `response` and `responseEvent`. The package sits beside
// this executable, so these tests run one at a time (see CMakeLists.txt).
namespace
{
    namespace emu = hidgate_emulator;
    using Bytes = std::vector<std::uint8_t>;

    const juce::File besideMe = PackageFile::besideExecutable ("KMX-Q7_UP.upd");

    // Short enough that a time-out costs a fraction of a second, long enough
    // that an answer from the emulator is never mistaken for a missing one,
    // even under ThreadSanitizer.
    TransferTimings shortTimings()
    {
        TransferTimings t;
        t.replyTimeoutMs = 400;
        t.sliceReplyTimeoutMs = 600;
        t.pollPauseMs = 5;
        return t;
    }

    Bytes readFile (const juce::File& f)
    {
        juce::MemoryBlock block;
        f.loadFileAsData (block);
        auto* p = static_cast<const std::uint8_t*> (block.getData());
        return Bytes (p, p + block.getSize());
    }

    // A package whose segments show the interesting cases: several slices,
    // exactly one slice, one byte over, empty but enabled, disabled, odd sizes.
    CraftedPackage edgePackage()
    {
        const std::size_t lengths[8] = { 200, 62, 63, 0, 100, 50, 1, 130 };
        CraftedPackage p;
        p.versionDigits = "123";

        for (int i = 0; i < 8; ++i)
        {
            auto& r = p.records[i];
            r.flag = i == 4 ? 'N' : 'Y';
            r.data.resize (lengths[i]);

            for (std::size_t k = 0; k < r.data.size(); ++k)
                r.data[k] = (std::uint8_t) (k * 29 + (std::size_t) i * 71 + 5);
        }

        return p;
    }

    struct Transfer
    {
        explicit Transfer (const Bytes& package, const TransferTimings& timings = shortTimings())
        {
            EXPECT_TRUE (besideMe.replaceWithData (package.data(), package.size()));
            packageBytes = package;
            WorkerTimings::use (timings);

            emu::reset();
            emu::setAnswerDelay (0);
            emu::setPendingFinishPolls (0);

            TestApplication::allowInTests();
            app = std::make_unique<TestApplication>();
            mc = std::make_unique<MainComponent>();
            probe = std::make_unique<MainComponentProbe> (*mc);

            // Leave the language screen with the controller connected.
            probe->clickOk();
            EXPECT_EQ (mc->getState(), Ready);
            EXPECT_EQ (probe->packageValid(), 1);
        }

        ~Transfer()
        {
            probe.reset();
            mc.reset();
            app.reset();
            WorkerTimings::restoreDefaults();
            besideMe.deleteFile();
        }

        void start() { probe->clickOk(); }

        // Until the worker has ended and its last request has been applied.
        bool finishes (int timeoutMs = 30000)
        {
            return testsupport::pumpUntil ([this] { return ! mc->isThreadRunning()
                                                        && (mc->getState() == Complete || mc->getState() == Failed); },
                                           timeoutMs);
        }

        ScreenState run()
        {
            start();
            EXPECT_TRUE (finishes());
            return mc->getState();
        }

        // Waits (pumping) until the controller has been sent `count` reports.
        bool sent (int count, int timeoutMs = 10000)
        {
            return testsupport::pumpUntil ([count] { return emu::reportsWritten() >= count; }, timeoutMs);
        }

        Bytes segmentInFile (int i) const
        {
            const auto offset = PackageLayout::segmentDataOffset (probe->segmentLength(), i);
            const auto begin = packageBytes.begin() + (std::ptrdiff_t) offset;
            return Bytes (begin, begin + (std::ptrdiff_t) probe->segmentLength()[i]);
        }

        // After a Complete: every enabled segment arrived as in the package, checked
        // by the controller, and nothing at all was sent for a disabled one.
        void expectEverySegmentDelivered() const
        {
            const auto r = emu::received();

            for (int i = 0; i < 8; ++i)
            {
                SCOPED_TRACE (testing::Message() << "segment " << i + 1);

                if (probe->segmentEnabled()[i] == 1)
                {
                    EXPECT_EQ (r.segmentData[i], segmentInFile (i));
                    EXPECT_TRUE (r.segmentVerified[i]);
                }
                else
                {
                    EXPECT_TRUE (r.segmentData[i].empty());
                    EXPECT_EQ (countSent (0xF1, i + 1) + countSent (0xF3, i + 1), 0);
                }
            }
        }

        // Reports with this code (and, if given, this segment number) sent to the controller.
        static int countSent (std::uint8_t code, int segment = -1)
        {
            int n = 0;

            for (const auto& rec : emu::received().transcript)
                if (rec.toDevice && rec.bytes[0] == code && (segment < 0 || rec.bytes[1] == segment))
                    ++n;

            return n;
        }

        static std::vector<Bytes> sentReports()
        {
            std::vector<Bytes> out;

            for (const auto& rec : emu::received().transcript)
                if (rec.toDevice)
                    out.push_back (rec.bytes);

            return out;
        }

        Bytes packageBytes;
        std::unique_ptr<TestApplication> app;
        std::unique_ptr<MainComponent> mc;
        std::unique_ptr<MainComponentProbe> probe;
    };
}

//==============================================================================
TEST (TransferDevice, TheSamplePackageArrivesWhole)
{
    // The sample is made by the package tool, which a build without tools (such as the
    // Windows cross build) does not have.
    if (std::string (KMX_SAMPLE_PACKAGE).empty())
        GTEST_SKIP() << "this build makes no sample package";

    Transfer t (readFile (juce::File (KMX_SAMPLE_PACKAGE)));
    emu::setPendingFinishPolls (3);

    EXPECT_EQ (t.run(), Complete);
    t.expectEverySegmentDelivered();

    const auto r = emu::received();
    EXPECT_TRUE (r.start.received);
    EXPECT_EQ (r.start.version, t.probe->packageVersion());
    EXPECT_EQ ((int) r.start.size, t.probe->packageSize());

    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ (r.start.segments[i].length, t.probe->segmentLength()[i]);
        EXPECT_EQ (r.start.segments[i].checksum, t.probe->segmentChecksum()[i]);
        EXPECT_EQ (r.start.segments[i].enabled, t.probe->segmentEnabled()[i] == 1);
    }

    EXPECT_EQ (r.finishPolls, 4);
    EXPECT_TRUE (r.finished);
    EXPECT_EQ (t.probe->progress().load(), 1.0);
    EXPECT_EQ (t.app->quitRequests.load(), 0);
}

TEST (TransferDevice, EdgeSegmentsGoOutSliceBySlice)
{
    const auto crafted = edgePackage();
    Transfer t (crafted.bytes());

    EXPECT_EQ (t.run(), Complete);
    t.expectEverySegmentDelivered();

    // 200 bytes: 4 slices; 62: 1; 63: 2; 0: a segment request and no slice;
    // disabled: nothing; 50, 1, 130: 1, 1, 3.
    const int slices[8] = { 4, 1, 2, 0, 0, 1, 1, 3 };

    for (int i = 0; i < 8; ++i)
    {
        SCOPED_TRACE (i + 1);
        EXPECT_EQ (Transfer::countSent (0xF1, i + 1), i == 4 ? 0 : 1);
        EXPECT_EQ (Transfer::countSent (0xF3, i + 1), slices[i]);
    }

    // The 63-byte segment's second slice: one data byte, then 61 bytes of 0xFF.
    const auto reports = Transfer::sentReports();
    const Bytes* second = nullptr;

    for (const auto& r : reports)
        if (r[0] == 0xF3 && r[1] == 3)
            second = &r;

    ASSERT_NE (second, nullptr);
    Bytes expected { 0xF3, 3, crafted.records[2].data[62] };
    expected.resize (64, 0xFF);
    EXPECT_EQ (*second, expected);

    // The disabled segment is still announced, with bit 7 clear.
    EXPECT_EQ (reports.front()[7 + 6 * 4], 5);
    EXPECT_EQ (reports.front()[7 + 6 * 3], 0x80 | 4);
}

TEST (TransferDevice, StartReportCarriesVersionAndSize)
{
    // Version 123 and a payload of 515 bytes.
    CraftedPackage p = edgePackage();
    p.records[7].data.resize (130 + 515 - p.dataTotal());
    ASSERT_EQ (p.dataTotal(), 515u);

    Transfer t (p.bytes());
    EXPECT_EQ (t.run(), Complete);

    const auto start = Transfer::sentReports().front();
    EXPECT_EQ (Bytes (start.begin(), start.begin() + 7), (Bytes { 0xF0, 0x00, 0x07, 0xB0, 0x03, 0x02, 0x00 }));
}

TEST (TransferDevice, RefusedSegmentsAreSkippedAndTheTransferStillCompletes)
{
    Transfer t (edgePackage().bytes());

    for (int s = 1; s <= 8; ++s)
        emu::addFault ({ emu::Step::SegmentRequest, s, 0, emu::FaultKind::WrongCode, 0xFA });

    EXPECT_EQ (t.run(), Complete);
    EXPECT_EQ (Transfer::countSent (0xF1), 7);
    EXPECT_EQ (Transfer::countSent (0xF3), 0);
    EXPECT_TRUE (emu::received().finished);
}

TEST (TransferDevice, FinishPollsRepeatUntilDoneAndProgressFollowsThem)
{
    Transfer t (edgePackage().bytes());
    emu::setPendingFinishPolls (3);

    EXPECT_EQ (t.run(), Complete);
    EXPECT_EQ (Transfer::countSent (0xF2), 4);

    // The last value shown is the figure of the last finish answer.
    Bytes lastAnswer;
    for (const auto& rec : emu::received().transcript)
        if (! rec.toDevice)
            lastAnswer = rec.bytes;

    ASSERT_EQ (lastAnswer[0], 0xFC);
    EXPECT_EQ (t.probe->progress().load(), lastAnswer[1] / 100.0);

    // reportedPercent keeps the figure of the last slice answer.
    EXPECT_EQ (t.probe->reportedPercent(), 100.0);
}

TEST (TransferDevice, NoControllerMeansNoStartAnswerAndFailed)
{
    // The controller vanishes while Ready is on screen, before Start: nothing
    // can be sent, the start wait runs out, and no finish request follows.
    Transfer t (edgePackage().bytes());
    t.probe->hidCtrl()->connected = Disconnected;

    EXPECT_EQ (t.run(), Failed);
    EXPECT_EQ (emu::reportsWritten(), 0);
}

//==============================================================================
// Faults: for each step and each kind of fault, the final state and what the
// controller got. Segment 1 has four slices, so first, middle and last differ.
namespace
{
    struct FaultRow
    {
        const char* name;
        emu::Fault fault;
        ScreenState expected;
        int finishPolls;        // finish requests the controller received
        int segmentRequests;    // segment requests it received
        int delivered;          // non-empty segments whose every byte arrived (6 in all)
    };

    std::ostream& operator<< (std::ostream& os, const FaultRow& r) { return os << r.name; }

    emu::Fault fault (emu::Step step, int segment, int index, emu::FaultKind kind, std::uint8_t code = 0)
    {
        emu::Fault f;
        f.step = step;
        f.segment = segment;
        f.index = index;
        f.kind = kind;
        f.code = code;
        return f;
    }

    using S = emu::Step;
    using K = emu::FaultKind;

    const FaultRow faultRows[] = {
        // The start: nothing follows, whatever went wrong.
        { "StartNoAnswer",        fault (S::Start, 1, 0, K::NoAnswer),          Failed, 0, 0, 0 },
        { "StartWrongCode",       fault (S::Start, 1, 0, K::WrongCode, 0xF9),   Failed, 0, 0, 0 },
        { "StartRemoval",         fault (S::Start, 1, 0, K::Removal),           Failed, 0, 0, 0 },

        // A segment request: a time-out fails (then finish); a refusal skips only
        // that segment; a removal skips it and every later write goes nowhere.
        { "SegmentNoAnswer",      fault (S::SegmentRequest, 1, 0, K::NoAnswer), Failed, 1, 1, 0 },
        { "SegmentWrongCode",     fault (S::SegmentRequest, 1, 0, K::WrongCode, 0xFE), Complete, 1, 7, 5 },
        { "SegmentRemoval",       fault (S::SegmentRequest, 1, 0, K::Removal),  Failed, 0, 1, 0 },

        // Slices: any fault fails, and finish is still asked for if the device is there.
        { "FirstSliceNoAnswer",   fault (S::Slice, 1, 0, K::NoAnswer),          Failed, 1, 1, 0 },
        { "FirstSliceWrongCode",  fault (S::Slice, 1, 0, K::WrongCode, 0xFE),   Failed, 1, 1, 0 },
        { "FirstSliceRemoval",    fault (S::Slice, 1, 0, K::Removal),           Failed, 0, 1, 0 },
        { "MiddleSliceNoAnswer",  fault (S::Slice, 1, 1, K::NoAnswer),          Failed, 1, 1, 0 },
        { "MiddleSliceWrongCode", fault (S::Slice, 1, 1, K::WrongCode, 0xFB),   Failed, 1, 1, 0 },
        { "MiddleSliceRemoval",   fault (S::Slice, 1, 1, K::Removal),           Failed, 0, 1, 0 },
        { "LastSliceNoAnswer",    fault (S::Slice, 1, emu::lastSlice, K::NoAnswer),  Failed, 1, 1, 1 },
        { "LastSliceWrongCode",   fault (S::Slice, 1, emu::lastSlice, K::WrongCode, 0xF9), Failed, 1, 1, 1 },
        { "LastSliceRemoval",     fault (S::Slice, 1, emu::lastSlice, K::Removal),  Failed, 0, 1, 1 },

        // A one-slice segment must end with 0xFE or 0xFB; 0xFB counts like 0xFE.
        { "OnlySliceAnsweredF9",  fault (S::Slice, 2, emu::lastSlice, K::WrongCode, 0xF9), Failed, 1, 2, 2 },
        { "OnlySliceAnsweredFB",  fault (S::Slice, 2, emu::lastSlice, K::WrongCode, 0xFB), Complete, 1, 7, 6 },

        // A finish poll: polling stops there.
        { "FinishNoAnswer",       fault (S::FinishPoll, 1, 0, K::NoAnswer),     Failed, 1, 7, 6 },
        { "FinishWrongCode",      fault (S::FinishPoll, 1, 0, K::WrongCode, 0xF9), Failed, 1, 7, 6 },
        { "FinishRemoval",        fault (S::FinishPoll, 1, 0, K::Removal),      Failed, 1, 7, 6 },
    };
}

class TransferFault : public testing::TestWithParam<FaultRow> {};

TEST_P (TransferFault, EndsInTheRightStateAndSendsWhatFollows)
{
    const auto& row = GetParam();
    Transfer t (edgePackage().bytes());
    emu::addFault (row.fault);

    EXPECT_EQ (t.run(), row.expected);

    const auto r = emu::received();
    EXPECT_EQ (Transfer::countSent (0xF0), 1);
    EXPECT_EQ (r.finishPolls, row.finishPolls);
    EXPECT_EQ (Transfer::countSent (0xF1), row.segmentRequests);

    int delivered = 0;

    for (int i = 0; i < 8; ++i)
        if (t.probe->segmentLength()[i] > 0 && r.segmentData[i] == t.segmentInFile (i))
            ++delivered;

    EXPECT_EQ (delivered, row.delivered);

    if (row.delivered == 6)
        t.expectEverySegmentDelivered();
}

INSTANTIATE_TEST_SUITE_P (EveryStep, TransferFault, testing::ValuesIn (faultRows),
                          [] (const testing::TestParamInfo<FaultRow>& info) { return std::string (info.param.name); });

TEST (TransferDevice, ASliceTimeOutFailsEvenWhenFinishSucceeds)
{
    Transfer t (edgePackage().bytes());
    emu::setPendingFinishPolls (2);
    emu::addFault (fault (S::Slice, 3, 1, K::NoAnswer));

    EXPECT_EQ (t.run(), Failed);
    EXPECT_TRUE (emu::received().finished);   // 0xFC was given, and did not help
    EXPECT_EQ (emu::received().finishPolls, 3);
}

//==============================================================================
// Cancel (or Close) during each kind of wait: the worker ends after at most the
// reports the message-thread-blocked wait allows, and the program quits.
namespace
{
    struct CancelRow
    {
        const char* name;
        emu::Fault hold;      // the step the worker is left waiting in
        int pendingPolls;
        int pollPauseMs;
        int reportsAfter;     // reports sent after Cancel
        int finishPollsAfter;
    };

    std::ostream& operator<< (std::ostream& os, const CancelRow& r) { return os << r.name; }

    const CancelRow cancelRows[] = {
        { "WaitingForStart",   fault (S::Start, 1, 0, K::NoAnswer),              0, 5,    0, 0 },
        // The next segment's request and one finish request run out unanswered.
        { "WaitingForSegment", fault (S::SegmentRequest, 1, 0, K::NoAnswer),     0, 5,    2, 1 },
        { "WaitingForSlice",   fault (S::Slice, 1, 1, K::NoAnswer),              0, 5,    1, 1 },
        { "WaitingForFinish",  fault (S::FinishPoll, 1, 0, K::NoAnswer),         0, 5,    0, 0 },
        // Held in the pause after the first (pending) poll; stopThread cuts it short.
        { "InThePollPause",    fault (S::FinishPoll, 1, 99, K::NoAnswer),        1, 5000, 1, 1 },
    };
}

class TransferCancel : public testing::TestWithParam<CancelRow> {};

TEST_P (TransferCancel, EndsTheWorkerAndQuits)
{
    const auto& row = GetParam();
    auto timings = shortTimings();
    timings.pollPauseMs = row.pollPauseMs;

    Transfer t (edgePackage().bytes(), timings);
    emu::setPendingFinishPolls (row.pendingPolls);
    emu::addFault (row.hold);
    t.start();

    // Wait until the worker sits in the wait this row is about.
    if (row.pollPauseMs > 1000)
    {
        ASSERT_TRUE (testsupport::pumpUntil ([] { return emu::received().finishPolls == 1; }));
        ASSERT_TRUE (emu::waitUntilIdle());
        // One pending poll: its answer carries 50 %, shown just before the pause.
        ASSERT_TRUE (testsupport::pumpUntil ([&] { return t.probe->progress().load() == 0.5; }));
    }
    else
    {
        ASSERT_TRUE (testsupport::pumpUntil ([&] {
            const auto reports = Transfer::sentReports();
            if (reports.empty())
                return false;

            const auto& last = reports.back();
            switch (row.hold.step)
            {
                case S::Start:          return last[0] == 0xF0;
                case S::SegmentRequest: return last[0] == 0xF1 && last[1] == row.hold.segment;
                case S::Slice:          return last[0] == 0xF3 && Transfer::countSent (0xF3, row.hold.segment) == row.hold.index + 1;
                case S::FinishPoll:     return last[0] == 0xF2;
            }
            return false;
        }));
    }

    const int before = emu::reportsWritten();
    const int pollsBefore = emu::received().finishPolls;

    t.probe->clickCancel();   // returns only once the worker has ended

    EXPECT_FALSE (t.mc->isThreadRunning());
    EXPECT_EQ (t.app->quitRequests.load(), 1);
    EXPECT_EQ (emu::reportsWritten() - before, row.reportsAfter);
    EXPECT_EQ (emu::received().finishPolls - pollsBefore, row.finishPollsAfter);

    testsupport::pumpMessages (20);
    EXPECT_EQ (t.mc->getState(), Failed);
}

INSTANTIATE_TEST_SUITE_P (EveryWait, TransferCancel, testing::ValuesIn (cancelRows),
                          [] (const testing::TestParamInfo<CancelRow>& info) { return std::string (info.param.name); });

//==============================================================================
TEST (TransferDevice, StartPressedTwiceQuicklyStartsOneWorker)
{
    Transfer t (edgePackage().bytes());
    t.probe->clickOk();
    t.probe->clickOk();

    EXPECT_TRUE (t.finishes());
    EXPECT_EQ (t.mc->getState(), Complete);
    EXPECT_EQ (Transfer::countSent (0xF0), 1);
}

TEST (TransferDevice, SystemQuitWhileASliceIsAwaitedEndsTheWorker)
{
    // The long program time-outs: only the destructor's wake-ups can end the
    // worker quickly here.
    Transfer t (edgePackage().bytes(), TransferTimings());
    emu::addFault (fault (S::Slice, 1, 2, K::NoAnswer));
    t.start();

    ASSERT_TRUE (testsupport::pumpUntil ([] { return Transfer::countSent (0xF3, 1) == 3; }));

    t.probe.reset();
    t.mc.reset();   // as the window's deletion does after a system quit

    // Woken with an empty answer, the slice failed; the one finish request was
    // woken the same way. Nothing else went out.
    EXPECT_EQ (emu::received().finishPolls, 1);
    EXPECT_EQ (Transfer::countSent (0xF3), 3);
    EXPECT_EQ (t.app->quitRequests.load(), 0);
}
