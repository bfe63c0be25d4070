#include <gtest/gtest.h>

#include "CraftedPackage.h"
#include "package/PackageCheck.h"

#include <functional>
#include <memory>

using PackageCheck::RecordFault;

namespace
{
    const char* const identifier = "KMX-Q7 ";

    // The bytes go into a heap block of exactly their size, so that a read
    // past the end is caught by AddressSanitizer.
    PackageCheck::Result checkBytes (const std::vector<std::uint8_t>& bytes)
    {
        std::unique_ptr<std::uint8_t[]> exact (new std::uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
        std::copy (bytes.begin(), bytes.end(), exact.get());
        return PackageCheck::check (exact.get(), bytes.size(), identifier);
    }

    struct Case
    {
        const char* name;
        std::function<void (CraftedPackage&)> craft;
        int version;
        bool recordsPass;          // all eight records pass
        int failingRecord = -1;    // else: the record that fails ...
        RecordFault fault = RecordFault::none;   // ... and why
        int extraPayload = 0;      // payload beyond the data lengths
    };

    const Case cases[] = {
        { "valid", [] (CraftedPackage&) {}, 123, true },
        { "all flags N", [] (CraftedPackage& p) { for (auto& r : p.records) r.flag = 'N'; }, 123, true },
        { "lower-case y", [] (CraftedPackage& p) { p.records[0].flag = 'y'; }, 123, true },
        { "version 000", [] (CraftedPackage& p) { p.versionDigits = "000"; }, 0, true },
        { "version 999", [] (CraftedPackage& p) { p.versionDigits = "999"; }, 999, true },
        { "version bytes not digits", [] (CraftedPackage& p) { p.versionDigits = "1:/"; }, 100 + 100 - 1, true },
        { "trailing bytes", [] (CraftedPackage& p) { p.trailing.assign (17, 0xAB); }, 123, true, -1, RecordFault::none, 17 },
        { "empty segment", [] (CraftedPackage& p) { p.records[3].data.clear(); }, 123, true },
        { "hex digits ignored", [] (CraftedPackage& p) { p.records[1].hexDigits = std::string ("\xff\0zz", 4); }, 123, true },

        { "checksum high byte first", [] (CraftedPackage& p) { p.records[2].checksumHighByteFirst = true; },
          123, false, 2, RecordFault::wrongChecksum },
        { "checksum wrong", [] (CraftedPackage& p) { p.records[7].data[0] ^= 1; p.records[7].storedChecksum = 0; },
          123, false, 7, RecordFault::wrongChecksum },
        { "identifier with NUL", [] (CraftedPackage& p) { p.records[0].identifier = std::string ("KMX-Q7\0", 7); },
          123, false, 0, RecordFault::wrongIdentifier },
        { "identifier of last record", [] (CraftedPackage& p) { p.records[7].identifier = "KMX-Q8 "; },
          123, false, 7, RecordFault::wrongIdentifier },
        { "length past end", [] (CraftedPackage& p) { p.records[5].lengthField = 100000; },
          123, false, 5, RecordFault::truncated },
        { "length one too long", [] (CraftedPackage& p) { p.records[7].lengthField = (std::uint32_t) p.records[7].data.size() + 1; },
          123, false, 7, RecordFault::truncated },
        { "length 2^24", [] (CraftedPackage& p) { p.records[1].lengthField = 1u << 24; },
          123, false, 1, RecordFault::lengthTooLarge },
        { "length near 2^32", [] (CraftedPackage& p) { p.records[0].lengthField = 0xFFFFFFFFu; },
          123, false, 0, RecordFault::lengthTooLarge },
        { "length wrapping 32 bits", [] (CraftedPackage& p) { p.records[4].lengthField = 0xFFFFFFC0u; },
          123, false, 4, RecordFault::lengthTooLarge },
    };
}

TEST (PackageCheck, CraftedPackages)
{
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto package = CraftedPackage::valid();
        c.craft (package);
        const auto bytes = package.bytes();
        const auto result = checkBytes (bytes);

        EXPECT_EQ (result.version, c.version);

        if (c.recordsPass)
        {
            EXPECT_EQ (result.recordsExamined, 8);
            EXPECT_EQ (result.payloadSize, (int) bytes.size() - 340);
            EXPECT_EQ (result.payloadSize, (int) package.dataTotal() + c.extraPayload);
            EXPECT_EQ (result.isValid(), c.version > 0);

            for (int i = 0; i < 8; ++i)
            {
                const auto& r = result.records[i];
                EXPECT_EQ (r.fault, RecordFault::none);
                EXPECT_EQ (r.enabled, package.records[i].flag == 'Y') << i;
                EXPECT_EQ (r.length, package.records[i].data.size()) << i;
                EXPECT_EQ (r.checksum, packageChecksum (package.records[i].data.data(), (int) package.records[i].data.size())) << i;
            }
        }
        else
        {
            EXPECT_EQ (result.payloadSize, 0);
            EXPECT_FALSE (result.isValid());
            EXPECT_EQ (result.recordsExamined, c.failingRecord + 1);
            EXPECT_EQ (result.records[c.failingRecord].fault, c.fault);

            for (int i = 0; i < c.failingRecord; ++i)
                EXPECT_EQ (result.records[i].fault, RecordFault::none) << i;
        }
    }
}

TEST (PackageCheck, SegmentOffsetsFollowTheLengths)
{
    auto package = CraftedPackage::valid();
    package.records[0].data.assign (100, 1);
    package.records[1].data.assign (50, 2);
    package.records[2].data.clear();
    const auto bytes = package.bytes();
    const auto result = checkBytes (bytes);
    ASSERT_TRUE (result.isValid());

    std::uint32_t lengths[8];
    for (int i = 0; i < 8; ++i)
        lengths[i] = result.records[i].length;

    EXPECT_EQ (PackageLayout::segmentDataOffset (lengths, 0), 72u);
    EXPECT_EQ (PackageLayout::segmentDataOffset (lengths, 1), 210u);
    EXPECT_EQ (PackageLayout::segmentDataOffset (lengths, 3), 210u + 50 + 38 + 0 + 38);

    // The rule the transfer uses finds each segment's own bytes in the file.
    for (int i = 0; i < 8; ++i)
    {
        const auto offset = PackageLayout::segmentDataOffset (lengths, i);
        EXPECT_EQ (offset, result.records[i].dataOffset) << i;
        EXPECT_TRUE (std::equal (package.records[i].data.begin(), package.records[i].data.end(), bytes.begin() + (long) offset)) << i;
    }
}

TEST (PackageCheck, EightEmptyRecordsMakeNoPackage)
{
    CraftedPackage package;   // eight empty records, checksum 0x0000
    const auto bytes = package.bytes();
    ASSERT_EQ (bytes.size(), 340u);

    const auto result = checkBytes (bytes);
    EXPECT_EQ (result.recordsExamined, 8);
    EXPECT_EQ (result.records[7].fault, RecordFault::none);
    EXPECT_EQ (result.version, 123);
    EXPECT_EQ (result.payloadSize, 0);
    EXPECT_FALSE (result.isValid());
}

// Cut a valid package short inside every field of the header and of the
// first and last records, and right before its end.
TEST (PackageCheck, TruncationAnywhereIsInvalid)
{
    const auto package = CraftedPackage::valid();
    const auto bytes = package.bytes();
    const size_t n0 = package.records[0].data.size();
    const size_t last = bytes.size() - (package.records[7].data.size() + 38);

    const size_t cuts[] = { 0, 1, 20, 22, 23, 35, 36, 36 + 6, 36 + 7, 36 + 15, 36 + 16, 36 + 33, 36 + 35,
                            36 + 36, 36 + 36 + n0 - 1, 36 + 36 + n0, 36 + 36 + n0 + 1,
                            last, last + 36, bytes.size() - 2, bytes.size() - 1 };

    for (auto cut : cuts)
    {
        SCOPED_TRACE ("cut at " + std::to_string (cut));
        const auto result = checkBytes (std::vector<std::uint8_t> (bytes.begin(), bytes.begin() + (long) cut));

        EXPECT_FALSE (result.isValid());
        EXPECT_EQ (result.payloadSize, 0);
        EXPECT_EQ (result.version, cut >= 23 ? 123 : -1);
        ASSERT_GE (result.recordsExamined, 1);
        EXPECT_EQ (result.records[result.recordsExamined - 1].fault, RecordFault::truncated);
    }
}

// The payload is announced in 24 bits: 2^24 - 1 is the largest that fits.
TEST (PackageCheck, PayloadSizeLimit)
{
    auto package = CraftedPackage::valid();
    auto& big = package.records[6].data;
    big.assign ((1u << 24) - 1 - (package.dataTotal() - big.size()), 0x5A);
    ASSERT_EQ (package.dataTotal(), (1u << 24) - 1);

    const auto largest = checkBytes (package.bytes());
    EXPECT_TRUE (largest.isValid());
    EXPECT_EQ (largest.payloadSize, (1 << 24) - 1);

    package.trailing.push_back (0);
    const auto tooLarge = checkBytes (package.bytes());
    EXPECT_FALSE (tooLarge.isValid());
    EXPECT_EQ (tooLarge.payloadSize, 0);
    EXPECT_EQ (tooLarge.recordsExamined, 0);
}

TEST (PackageCheck, NoBytesOrNoIdentifier)
{
    const auto bytes = CraftedPackage::valid().bytes();
    EXPECT_FALSE (PackageCheck::check (nullptr, 0, identifier).isValid());
    EXPECT_FALSE (PackageCheck::check (bytes.data(), bytes.size(), nullptr).isValid());
    EXPECT_TRUE (PackageCheck::check (bytes.data(), bytes.size(), identifier).isValid());
}
