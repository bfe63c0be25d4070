#include <gtest/gtest.h>

#include "transfer/Reports.h"

#include <vector>

namespace
{
    using Bytes = std::vector<std::uint8_t>;

    Bytes bytesOf (const std::uint8_t* report) { return Bytes (report, report + Reports::reportSize); }
}

TEST (Reports, StartAnnouncesVersionSizeAndEverySegment)
{
    Reports::Announcement a;
    a.version = 123;
    a.payloadSize = 515;

    for (int i = 0; i < 8; ++i)
    {
        a.lengths[i] = 0x010203u * (std::uint32_t) (i + 1);
        a.checksums[i] = (std::uint16_t) (0xA1B2 + i);
        a.enabled[i] = (i % 3 == 1) ? 0 : 1;
    }

    a.lengths[7] = 0x12345678;   // only the low 24 bits fit

    std::uint8_t report[64];
    std::fill (report, report + 64, 0xEE);
    Reports::buildStart (report, a);

    EXPECT_EQ (report[0], 0xF0);
    EXPECT_EQ (report[1], 0x00);
    EXPECT_EQ (Bytes (report + 2, report + 7), (Bytes { 0x07, 0xB0, 0x03, 0x02, 0x00 }));

    for (int i = 0; i < 8; ++i)
    {
        SCOPED_TRACE (i);
        const auto* e = report + 7 + 6 * i;
        EXPECT_EQ (e[0], (std::uint8_t) ((i + 1) | (a.enabled[i] ? 0x80 : 0)));
        EXPECT_EQ ((std::uint32_t) (e[1] | (e[2] << 8) | (e[3] << 16)), a.lengths[i] & 0xFFFFFF);
        EXPECT_EQ ((std::uint16_t) (e[4] | (e[5] << 8)), a.checksums[i]);
    }

    EXPECT_EQ (Bytes (report + 55, report + 64), Bytes (9, 0));
}

TEST (Reports, SegmentAndFinishRequestsAreZeroFilled)
{
    std::uint8_t report[64];
    std::fill (report, report + 64, 0xEE);
    Reports::buildSegment (report, 5);

    Bytes expected (64, 0);
    expected[0] = 0xF1;
    expected[1] = 5;
    EXPECT_EQ (bytesOf (report), expected);

    std::fill (report, report + 64, 0xEE);
    Reports::buildFinish (report);
    expected[0] = 0xF2;
    expected[1] = 0;
    EXPECT_EQ (bytesOf (report), expected);
}

TEST (Reports, SlicesCarry62BytesAndPadTheLastWith0xFF)
{
    struct Case { std::uint32_t length; std::uint32_t slice; int dataBytes; };
    const Case cases[] = {
        { 62, 0, 62 },    // exactly one slice, no padding
        { 63, 0, 62 },
        { 63, 1, 1 },     // one data byte, 61 bytes of padding
        { 200, 3, 14 },
    };

    Bytes data (200);
    for (size_t k = 0; k < data.size(); ++k)
        data[k] = (std::uint8_t) (k * 7 + 1);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "length " << c.length << " slice " << c.slice);
        std::uint8_t report[64] {};
        Reports::buildSlice (report, 3, data.data(), c.length, c.slice);

        Bytes expected { 0xF3, 3 };
        expected.insert (expected.end(), data.begin() + c.slice * 62, data.begin() + c.slice * 62 + c.dataBytes);
        expected.resize (64, 0xFF);
        EXPECT_EQ (bytesOf (report), expected);
    }

    EXPECT_EQ (Reports::sliceCount (0), 0u);
    EXPECT_EQ (Reports::sliceCount (62), 1u);
    EXPECT_EQ (Reports::sliceCount (63), 2u);
    EXPECT_EQ (Reports::sliceCount (124), 2u);
}
