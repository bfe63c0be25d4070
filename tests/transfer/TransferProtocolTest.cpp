#include <gtest/gtest.h>

#include "package/CraftedPackage.h"
#include "transfer/TransferProtocol.h"

#include <deque>
#include <optional>

// The protocol against a scripted link: what the progress bar is given, and
// when, which the emulated controller cannot show step by step.
namespace
{
    class ScriptedLink : public TransferLink
    {
    public:
        std::deque<std::optional<Answer>> answers;   // nullopt: no answer
        std::vector<std::vector<std::uint8_t>> written;
        std::vector<double> progressShown;
        std::vector<ScreenState> states;
        std::vector<int> pauses;
        double percent = 0.0;

        void write (const std::uint8_t* r) override { written.emplace_back (r, r + 64); }

        bool waitForAnswer (int, Answer& a) override
        {
            if (answers.empty() || ! answers.front().has_value())
            {
                if (! answers.empty())
                    answers.pop_front();
                return false;
            }

            a = *answers.front();
            answers.pop_front();
            return true;
        }

        void requestState (ScreenState s) override { states.push_back (s); }
        void setProgress (double f) override       { progressShown.push_back (f); }
        double reportedPercent() const override    { return percent; }
        void setReportedPercent (double p) override { percent = p; }
        void pause (int ms) override               { pauses.push_back (ms); }
    };

    struct Fixture
    {
        explicit Fixture (const CraftedPackage& crafted)
        {
            const auto bytes = crafted.bytes();
            file.getFile().replaceWithData (bytes.data(), bytes.size());
            package.file = file.getFile();
            package.announcement.version = 110;
            package.announcement.payloadSize = crafted.dataTotal();

            for (int i = 0; i < 8; ++i)
            {
                package.announcement.lengths[i] = (std::uint32_t) crafted.records[i].data.size();
                package.announcement.enabled[i] = crafted.records[i].flag == 'Y' ? 1 : 0;
            }
        }

        void run()
        {
            TransferTimings t;
            TransferProtocol (link, package, t).run();
        }

        juce::TemporaryFile file;
        TransferPackage package;
        ScriptedLink link;
    };

    CraftedPackage twoSegments (std::size_t first, std::size_t second)
    {
        CraftedPackage p;

        for (auto& r : p.records)
            r.flag = 'N';

        p.records[2].flag = 'Y';
        p.records[2].data.assign (first, 0x11);
        p.records[5].flag = 'Y';
        p.records[5].data.assign (second, 0x22);
        return p;
    }

    TransferLink::Answer ans (std::uint8_t code, std::uint8_t percent = 0) { return { code, percent }; }
}

TEST (TransferProtocol, ProgressFollowsSliceAnswersAcrossSegmentsThenFinishAnswers)
{
    Fixture f (twoSegments (124, 62));   // two slices, then one
    f.link.percent = 37;                 // left from before: the worker does not reset it

    f.link.answers = { ans (0xF8),
                       ans (0xF9), ans (0xF9, 20), ans (0xFE, 40),
                       ans (0xF9), ans (0xFB, 60),
                       ans (0xF7, 70), ans (0xF7, 80), ans (0xF7, 90), ans (0xFC, 100) };
    f.run();

    const std::vector<double> expected { 0.0,                   // at the start
                                         0.37, 0.20,            // before each slice of segment 3
                                         0.40,                  // carried into segment 6
                                         0.70, 0.80, 0.90, 1.0 };
    EXPECT_EQ (f.link.progressShown, expected);
    EXPECT_EQ (f.link.percent, 60.0);
    EXPECT_EQ (f.link.pauses, (std::vector<int> { 100, 100, 100, 100 }));
    EXPECT_EQ (f.link.states, (std::vector<ScreenState> { Updating, Complete }));
    EXPECT_EQ (f.link.written.size(), 1u + 1 + 2 + 1 + 1 + 4);
}

TEST (TransferProtocol, SegmentsComeFromTheFileAtTheirOffsets)
{
    // Segment 0 is read at 72, segment 1 at 72 + 100 + 38, whether enabled or not.
    CraftedPackage p;
    for (auto& r : p.records)
        r.flag = 'N';

    p.records[0].data.assign (100, 0xAA);
    p.records[1].data.assign (50, 0xBB);
    p.records[1].data[0] = 0x01;
    p.records[1].data[49] = 0x02;
    p.records[1].flag = 'Y';

    Fixture f (p);
    f.link.answers = { ans (0xF8), ans (0xF9), ans (0xFE, 100), ans (0xFC, 100) };
    f.run();

    ASSERT_EQ (f.link.written.size(), 4u);
    const auto& slice = f.link.written[2];
    EXPECT_EQ (slice[0], 0xF3);
    EXPECT_EQ (slice[1], 2);
    EXPECT_EQ (std::vector<std::uint8_t> (slice.begin() + 2, slice.begin() + 52), p.records[1].data);
    EXPECT_EQ (std::vector<std::uint8_t> (slice.begin() + 52, slice.end()), std::vector<std::uint8_t> (12, 0xFF));
}

TEST (TransferProtocol, AMissingFileFailsAfterTheStartAndStillFinishes)
{
    Fixture f (twoSegments (10, 10));
    f.package.file = f.package.file.getSiblingFile ("no-such-package.upd");
    f.link.answers = { ans (0xF8), ans (0xFC, 100) };
    f.run();

    ASSERT_EQ (f.link.written.size(), 2u);
    EXPECT_EQ (f.link.written[1][0], 0xF2);
    EXPECT_EQ (f.link.states.back(), Failed);
}

TEST (TransferProtocol, AnEmptyPayloadSendsNothing)
{
    Fixture f (twoSegments (10, 10));
    f.package.announcement.payloadSize = 0;
    f.run();

    EXPECT_TRUE (f.link.written.empty());
    EXPECT_EQ (f.link.states, (std::vector<ScreenState> { Updating, Failed }));
}
