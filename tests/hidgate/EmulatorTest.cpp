#include <gtest/gtest.h>

#include "EmulatorControl.h"
#include "SinkRecorder.h"
#include "hidgate.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <juce_core/juce_core.h>

namespace emu = hidgate_emulator;

namespace
{
    using Report = std::array<std::uint8_t, 64>;

    // A package as the controller sees it: eight segments, each with its
    // bytes, write flag and announced checksum.
    struct Package
    {
        int version = 123;
        std::vector<std::uint8_t> data[8];
        bool enabled[8] {};
        std::uint16_t checksum[8] {};

        void set (int index, size_t length, bool write)
        {
            data[index].resize (length);
            for (size_t i = 0; i < length; ++i)
                data[index][i] = (std::uint8_t) (i * 7 + index * 31 + 1);
            enabled[index] = write;
            checksum[index] = emu::crc16 (data[index].data(), data[index].size());
        }

        std::uint32_t size() const
        {
            std::uint32_t n = 0;
            for (const auto& d : data)
                n += (std::uint32_t) d.size();
            return n;
        }
    };

    Report startReport (const Package& p)
    {
        Report r {};
        r[0] = 0xF0;
        r[2] = (std::uint8_t) ((p.version >> 4) & 0xFF);
        r[3] = (std::uint8_t) ((p.version << 4) & 0xFF);
        const auto size = p.size();
        r[4] = (std::uint8_t) size; r[5] = (std::uint8_t) (size >> 8); r[6] = (std::uint8_t) (size >> 16);

        for (int i = 0; i < 8; ++i)
        {
            auto* e = &r[(size_t) (7 + 6 * i)];
            const auto length = (std::uint32_t) p.data[i].size();
            e[0] = (std::uint8_t) ((i + 1) | (p.enabled[i] ? 0x80 : 0));
            e[1] = (std::uint8_t) length; e[2] = (std::uint8_t) (length >> 8); e[3] = (std::uint8_t) (length >> 16);
            e[4] = (std::uint8_t) p.checksum[i]; e[5] = (std::uint8_t) (p.checksum[i] >> 8);
        }

        return r;
    }

    Report segmentReport (int number)
    {
        Report r {};
        r[0] = 0xF1;
        r[1] = (std::uint8_t) number;
        return r;
    }

    std::vector<Report> sliceReports (int number, const std::vector<std::uint8_t>& data)
    {
        std::vector<Report> slices;

        for (size_t offset = 0; offset < data.size(); offset += 62)
        {
            Report r;
            r.fill (0xFF);
            r[0] = 0xF3;
            r[1] = (std::uint8_t) number;
            for (size_t i = 0; i < 62 && offset + i < data.size(); ++i)
                r[2 + i] = data[offset + i];
            slices.push_back (r);
        }

        return slices;
    }

    Report finishReport()
    {
        Report r {};
        r[0] = 0xF2;
        return r;
    }

    class Emulator : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            emu::reset();
            emu::setAnswerDelay (0);
            HID_Initialize (nullptr);
            HID_SetCallback (sink.window(), testInput, testArrival, testRemoval);
            HID_Start();
        }

        void TearDown() override
        {
            HID_Stop();
            HID_SetCallback (nullptr, 0, 0, 0);
            HID_Finalize();
            emu::reset();
        }

        // Writes one report and returns the answer, or an empty vector if
        // none came.
        std::vector<std::uint8_t> exchange (const Report& report, int device = 1)
        {
            const auto before = sink.countOf (testInput);
            EXPECT_NE (HID_Write (device, report.data(), 64), 0);

            if (! emu::waitUntilIdle() || sink.countOf (testInput) == before)
                return {};

            unsigned char buffer[256] {};
            int length = 256;
            HID_Input (device, buffer, &length);
            return std::vector<std::uint8_t> (buffer, buffer + length);
        }

        std::uint8_t code (const Report& report, int device = 1)
        {
            const auto answer = exchange (report, device);
            return answer.empty() ? 0 : answer[0];
        }

        // Runs the whole transfer; returns the answer codes in order.
        std::vector<std::uint8_t> transfer (const Package& p, std::vector<int>* figures = nullptr)
        {
            std::vector<std::uint8_t> codes;
            auto take = [&] (const Report& r)
            {
                const auto a = exchange (r);
                codes.push_back (a.empty() ? 0 : a[0]);
                if (figures != nullptr && a.size() > 1 && (r[0] == 0xF3 || r[0] == 0xF2))
                    figures->push_back (a[1]);
                return codes.back();
            };

            if (take (startReport (p)) != 0xF8)
                return codes;

            for (int i = 0; i < 8; ++i)
            {
                if (! p.enabled[i] || take (segmentReport (i + 1)) != 0xF9)
                    continue;

                for (const auto& s : sliceReports (i + 1, p.data[i]))
                    take (s);
            }

            for (int poll = 0; poll < 10 && take (finishReport()) == 0xF7; ++poll) {}
            return codes;
        }

        SinkRecorder sink;
    };
}

TEST_F (Emulator, OneUpdateModeControllerFromTheStart)
{
    int numbers[HIDGATE_MAX_DEVICES] {};
    ASSERT_EQ (HID_EnumHIDno (numbers), 1);
    EXPECT_EQ (HID_GetDeviceType (numbers[0]), 14);

    int version[2] = { 0, 0 };
    HID_GetFirmwareVersion (14, version, 1);
    EXPECT_EQ (version[0], 105);
    EXPECT_EQ (version[1], 0);

    EXPECT_EQ (HID_GetDeviceType (numbers[0] + 1), -1);
}

TEST_F (Emulator, TakesAWholeTransferAndChecksEverySegment)
{
    // One slice exactly, two slices with one byte in the last, an empty
    // enabled segment, a disabled one, and a long one.
    Package p;
    p.set (0, 62, true);
    p.set (1, 63, true);
    p.set (2, 0, true);
    p.set (3, 100, false);
    p.set (4, 1000, true);

    std::vector<int> figures;
    const auto codes = transfer (p, &figures);

    const std::vector<std::uint8_t> expected {
        0xF8,
        0xF9, 0xFE,                 // segment 1
        0xF9, 0xF9, 0xFE,           // segment 2
        0xF9,                       // segment 3, nothing to send
        0xF9 };                     // segment 5 ...
    ASSERT_GE (codes.size(), expected.size());
    EXPECT_TRUE (std::equal (expected.begin(), expected.end(), codes.begin()));

    const size_t slices5 = (1000 + 61) / 62;
    ASSERT_EQ (codes.size(), expected.size() + slices5 + 4);
    for (size_t j = 0; j + 1 < slices5; ++j)
        EXPECT_EQ (codes[expected.size() + j], 0xF9) << "slice " << j;
    EXPECT_EQ (codes[expected.size() + slices5 - 1], 0xFE);

    // Three "still writing" answers, then done.
    const std::vector<std::uint8_t> finish (codes.end() - 4, codes.end());
    EXPECT_EQ (finish, (std::vector<std::uint8_t> { 0xF7, 0xF7, 0xF7, 0xFC }));

    // Slice figures: bytes received over the enabled total, never falling.
    const int enabledTotal = 62 + 63 + 0 + 1000;
    ASSERT_EQ (figures.size(), 1 + 2 + slices5 + 4);
    EXPECT_EQ (figures[0], 62 * 100 / enabledTotal);
    EXPECT_EQ (figures[2], 125 * 100 / enabledTotal);
    EXPECT_EQ (figures[figures.size() - 5], 100);
    EXPECT_TRUE (std::is_sorted (figures.begin(), figures.end() - 4));
    EXPECT_LT (figures[figures.size() - 4], figures[figures.size() - 3]);
    EXPECT_EQ (figures.back(), 100);

    const auto got = emu::received();
    EXPECT_TRUE (got.start.received);
    EXPECT_EQ (got.start.version, 123);
    EXPECT_EQ (got.start.size, p.size());
    EXPECT_FALSE (got.start.segments[3].enabled);
    EXPECT_EQ (got.start.segments[3].length, 100u);

    for (int i : { 0, 1, 2, 4 })
    {
        EXPECT_EQ (got.segmentData[i], p.data[i]) << "segment " << i + 1;
        EXPECT_TRUE (got.segmentVerified[i]) << "segment " << i + 1;
    }

    EXPECT_TRUE (got.segmentData[3].empty());
    EXPECT_EQ (got.finishPolls, 4);
    EXPECT_TRUE (got.finished);

    // Every report both ways, in order.
    ASSERT_EQ (got.transcript.size(), 2 * codes.size());
    EXPECT_TRUE (got.transcript[0].toDevice);
    EXPECT_EQ (got.transcript[0].bytes[0], 0xF0);
    EXPECT_FALSE (got.transcript[1].toDevice);
    EXPECT_EQ (got.transcript[1].bytes[0], 0xF8);
}

TEST_F (Emulator, StartReportBytesDecodeToVersionAndSize)
{
    Package p;
    p.version = 123;
    p.set (0, 515, true);
    const auto r = startReport (p);
    ASSERT_EQ ((std::vector<int> { r[2], r[3], r[4], r[5], r[6] }), (std::vector<int> { 0x07, 0xB0, 0x03, 0x02, 0x00 }));

    EXPECT_EQ (code (r), 0xF8);
    EXPECT_EQ (emu::received().start.version, 123);
    EXPECT_EQ (emu::received().start.size, 515u);
}

TEST_F (Emulator, RefusesWhatAControllerWouldNotAccept)
{
    struct Case
    {
        const char* what;
        std::function<void (Package&, std::vector<Report>&)> make;
    };

    const std::vector<Case> cases {
        { "checksum differs from the announced one", [] (Package& p, std::vector<Report>& out)
            { p.checksum[0] ^= 0x0101; out = sliceReports (1, p.data[0]); } },
        { "padding past the end is not 0xFF", [] (Package& p, std::vector<Report>& out)
            { out = sliceReports (1, p.data[0]); out.back()[63] = 0x00; } },
        { "slice for a segment that is not open", [] (Package& p, std::vector<Report>& out)
            { out = sliceReports (2, p.data[0]); } },
        { "request for a segment announced as not written", [] (Package&, std::vector<Report>& out)
            { out = { segmentReport (3) }; } },
        { "segment number out of range", [] (Package&, std::vector<Report>& out)
            { out = { segmentReport (9) }; } },
        { "unknown report code", [] (Package&, std::vector<Report>& out)
            { Report r {}; r[0] = 0x42; out = { r }; } },
    };

    for (const auto& c : cases)
    {
        emu::reset();
        emu::setAnswerDelay (0);

        Package p;
        p.set (0, 70, true);
        p.set (2, 10, false);
        std::vector<Report> reports;
        c.make (p, reports);

        ASSERT_EQ (code (startReport (p)), 0xF8) << c.what;
        const bool slices = reports.front()[0] == 0xF3;
        if (slices)
            ASSERT_EQ (code (segmentReport (1)), 0xF9) << c.what;

        std::uint8_t last = 0;
        for (const auto& r : reports)
            last = code (r);

        EXPECT_EQ (last, emu::refusedCode) << c.what;
        EXPECT_FALSE (emu::received().segmentVerified[0]) << c.what;
    }
}

TEST_F (Emulator, FinishBeforeAnyStartIsRefused)
{
    EXPECT_EQ (code (finishReport()), emu::refusedCode);
}

TEST_F (Emulator, FaultsReplaceTheAnswerAtTheirStep)
{
    using S = emu::Step;
    using K = emu::FaultKind;

    struct Case
    {
        const char* what;
        emu::Fault fault;
        size_t at;              // index of the exchange that is hit
        int expectedCode;       // -1: no answer, -2: the device is removed
    };

    // Exchanges of the transfer below: 0 start, 1 segment 1, 2..4 its three
    // slices, 5.. finish polls.
    const std::vector<Case> cases {
        { "no answer to start",         { S::Start, 1, 0, K::NoAnswer },                      0, -1 },
        { "wrong code to start",        { S::Start, 1, 0, K::WrongCode, 0x00 },               0, 0x00 },
        { "wrong code to segment",      { S::SegmentRequest, 1, 0, K::WrongCode, 0xF8 },      1, 0xF8 },
        { "first slice unanswered",     { S::Slice, 1, 0, K::NoAnswer },                      2, -1 },
        { "middle slice wrong",         { S::Slice, 1, 1, K::WrongCode, 0xFE },               3, 0xFE },
        { "last slice wrong",           { S::Slice, 1, emu::lastSlice, K::WrongCode, 0xF9 },  4, 0xF9 },
        { "removal at the last slice",  { S::Slice, 1, emu::lastSlice, K::Removal },          4, -2 },
        { "second poll wrong",          { S::FinishPoll, 1, 1, K::WrongCode, 0xF1 },          6, 0xF1 },
        { "removal at the first poll",  { S::FinishPoll, 1, 0, K::Removal },                  5, -2 },
        { "delayed start answer",       { S::Start, 1, 0, K::Delay, 0, 20 },                  0, 0xF8 },
    };

    Package p;
    p.set (0, 150, true);

    std::vector<Report> reports { startReport (p), segmentReport (1) };
    for (const auto& s : sliceReports (1, p.data[0]))
        reports.push_back (s);
    for (int i = 0; i < 4; ++i)
        reports.push_back (finishReport());

    for (const auto& c : cases)
    {
        emu::reset();
        emu::setAnswerDelay (0);
        emu::addFault (c.fault);
        sink.clear();

        for (size_t i = 0; i <= c.at; ++i)
        {
            const auto answer = exchange (reports[i]);

            if (i < c.at)
            {
                ASSERT_FALSE (answer.empty()) << c.what << ", exchange " << i;
                continue;
            }

            if (c.expectedCode == -1)
                EXPECT_TRUE (answer.empty()) << c.what;
            else if (c.expectedCode == -2)
            {
                EXPECT_TRUE (answer.empty()) << c.what;
                EXPECT_EQ (sink.countOf (testRemoval), 1u) << c.what;
                EXPECT_TRUE (emu::attachedDevices().empty()) << c.what;
            }
            else
            {
                ASSERT_FALSE (answer.empty()) << c.what;
                EXPECT_EQ (answer[0], c.expectedCode) << c.what;
            }
        }
    }
}

TEST_F (Emulator, AnswersFromItsOwnThreadOnePerReport)
{
    emu::setAnswerDelay (2);   // the default pacing
    Package p;
    p.set (0, 10, true);

    EXPECT_EQ (code (startReport (p)), 0xF8);
    EXPECT_EQ (code (segmentReport (1)), 0xF9);

    const auto posted = sink.all();
    ASSERT_EQ (posted.size(), 2u);
    for (const auto& m : posted)
    {
        EXPECT_EQ (m.message, testInput);
        EXPECT_EQ (m.deviceNumber, 1);
        if (SinkRecorder::seesPostingThread)
            EXPECT_NE (m.thread, std::this_thread::get_id());
    }

    // Each input is handed out once.
    unsigned char buffer[256];
    int length = 256;
    HID_Input (1, buffer, &length);
    EXPECT_EQ (length, 0);
}

TEST_F (Emulator, PlugAndUnplugAnnounceAndNeverReuseANumber)
{
    const int second = emu::plug (14, 200);
    const int third = emu::plug (0, 1);
    EXPECT_EQ (second, 2);
    EXPECT_EQ (third, 3);

    EXPECT_TRUE (emu::unplug (1));
    EXPECT_FALSE (emu::unplug (1));
    const int again = emu::plug();
    EXPECT_EQ (again, 4);

    ASSERT_TRUE (sink.waitFor (4));
    const auto posted = sink.all();
    ASSERT_EQ (posted.size(), 4u);
    EXPECT_EQ (posted[0].message, testArrival);  EXPECT_EQ (posted[0].deviceNumber, 2);
    EXPECT_EQ (posted[1].message, testArrival);  EXPECT_EQ (posted[1].deviceNumber, 3);
    EXPECT_EQ (posted[2].message, testRemoval);  EXPECT_EQ (posted[2].deviceNumber, 1);
    EXPECT_EQ (posted[3].message, testArrival);  EXPECT_EQ (posted[3].deviceNumber, 4);

    int numbers[HIDGATE_MAX_DEVICES] {};
    ASSERT_EQ (HID_EnumHIDno (numbers), 3);
    EXPECT_EQ (numbers[0], 2);
    EXPECT_EQ (HID_GetDeviceType (3), 0);

    // The version is asked by type: the first device of that type answers.
    int version[2] = { 0, 0 };
    HID_GetFirmwareVersion (14, version, 1);
    EXPECT_EQ (version[0], 200);
    EXPECT_EQ (emu::lastFirmwareVersionQuery(), 14);

    // Writing to a device that is gone fails.
    const Report r = finishReport();
    EXPECT_EQ (HID_Write (1, r.data(), 64), 0);
}

TEST_F (Emulator, UnplugDropsPendingAnswersAndInput)
{
    emu::setAnswerDelay (60000);
    Package p;
    p.set (0, 10, true);
    const auto r = startReport (p);
    ASSERT_NE (HID_Write (1, r.data(), 64), 0);
    ASSERT_TRUE (emu::injectInput (1, { 1, 2, 3 }));

    EXPECT_TRUE (emu::unplug (1));
    EXPECT_TRUE (emu::waitUntilIdle (1000));   // the long answer went with the device
    EXPECT_EQ (sink.countOf (testInput), 1u);  // the injected one only
    EXPECT_EQ (sink.countOf (testRemoval), 1u);
}

TEST_F (Emulator, ScenarioTextSetsDevicesFaultsAndRecordFiles)
{
    const auto dir = juce::File::createTempFile ("hidgate-scenario");
    ASSERT_TRUE (dir.createDirectory());
    const std::string base = dir.getFullPathName().toStdString();

    const std::string text =
        "# two controllers, the first answering slowly at its start\n"
        "device 14 105\n"
        "device 14 106   # a second one\n"
        "answer_delay_ms 0\n"
        "pending_finish_polls 1\n"
        "fault slice 1 last code 0xFB\n"
        "record_segments " + base + "/segment\n"
        "record_transcript " + base + "/transcript.txt\n"
        "record_start " + base + "/start.txt\n";

    std::string error;
    ASSERT_TRUE (emu::applyScenario (text, &error)) << error;
    EXPECT_EQ (emu::attachedDevices(), (std::vector<int> { 1, 2 }));

    Package p;
    p.set (0, 100, true);
    p.set (1, 10, true);
    const auto codes = transfer (p);
    EXPECT_EQ (codes, (std::vector<std::uint8_t> { 0xF8, 0xF9, 0xF9, 0xFB, 0xF9, 0xFE, 0xF7, 0xFC }));

    const auto flashed = dir.getChildFile ("segment1.bin");
    juce::MemoryBlock bytes;
    ASSERT_TRUE (flashed.loadFileAsData (bytes));
    EXPECT_EQ (std::vector<std::uint8_t> ((const std::uint8_t*) bytes.getData(), (const std::uint8_t*) bytes.getData() + bytes.getSize()),
               p.data[0]);
    EXPECT_EQ (dir.getChildFile ("segment2.bin").getSize(), 10);
    EXPECT_FALSE (dir.getChildFile ("segment3.bin").exists());

    juce::StringArray lines;
    dir.getChildFile ("transcript.txt").readLines (lines);
    lines.removeEmptyStrings();
    ASSERT_EQ (lines.size(), 16);
    EXPECT_TRUE (lines[0].startsWith ("> 1 F0 00 07 B0"));
    EXPECT_TRUE (lines[1].startsWith ("< 1 F8"));

    const auto start = dir.getChildFile ("start.txt").loadFileAsString();
    EXPECT_TRUE (start.contains ("version 123"));
    EXPECT_TRUE (start.contains ("segment 1 enabled 1 length 100 checksum " + juce::String (p.checksum[0])));
    EXPECT_TRUE (start.contains ("finished 1"));

    HID_Finalize();   // closes the transcript before the folder goes
    dir.deleteRecursively();
}

TEST_F (Emulator, ScenarioWithAnUnknownLineChangesNothing)
{
    for (const std::string text : { "device 14\n", "fault slice 1 second none\n", "fault start explode\n",
                                    "at soon unplug 1\n", "colour blue\n" })
    {
        std::string error;
        EXPECT_FALSE (emu::applyScenario ("no_devices\n" + text, &error)) << text;
        EXPECT_FALSE (error.empty());
        EXPECT_EQ (emu::attachedDevices(), (std::vector<int> { 1 })) << text;
    }
}

TEST_F (Emulator, ScenarioTimelinePlugsAndUnplugsAfterStart)
{
    HID_Stop();
    ASSERT_TRUE (emu::applyScenario ("at 0 unplug 1\nat 5 plug 14 107\n"));
    HID_Start();

    ASSERT_TRUE (sink.waitFor (2));
    const auto posted = sink.all();
    EXPECT_EQ (posted[0].message, testRemoval);
    EXPECT_EQ (posted[1].message, testArrival);
    EXPECT_EQ (posted[1].deviceNumber, 2);
}
