#include <gtest/gtest.h>

#include "package/PackageChecksum.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace
{
    // The augmented form, step by step: a 24-bit register, each byte ORed
    // into the low eight bits, eight shifts with 0x1102100 XORed in when bit
    // 24 becomes set, two zero bytes at the end, result shifted right by 8.
    std::uint16_t augmentedCrc (const std::uint8_t* data, int length)
    {
        std::uint32_t reg = 0;

        auto shiftIn = [&reg] (std::uint8_t byte)
        {
            reg |= byte;

            for (int bit = 0; bit < 8; ++bit)
            {
                reg <<= 1;

                if (reg & 0x1000000u)
                    reg ^= 0x1102100u;
            }
        };

        for (int i = 0; i < length; ++i)
            shiftIn (data[i]);

        shiftIn (0);
        shiftIn (0);
        return (std::uint16_t) (reg >> 8);
    }

    std::uint16_t crcOf (const char* text)
    {
        return packageChecksum (reinterpret_cast<const std::uint8_t*> (text), (int) std::strlen (text));
    }
}

TEST (PackageChecksum, GivesTheXmodemCheckValues)
{
    EXPECT_EQ (crcOf ("123456789"), 0x31C3);
    EXPECT_EQ (crcOf ("abc"), 0x9DD6);
    EXPECT_EQ (crcOf (""), 0x0000);

    const std::uint8_t byte = 0xFF;
    EXPECT_EQ (packageChecksum (&byte, 0), 0x0000);
    EXPECT_EQ (packageChecksum (&byte, -5), 0x0000);
    EXPECT_EQ (packageChecksum (nullptr, 10), 0x0000);
}

TEST (PackageChecksum, AgreesWithTheAugmentedRegisterForm)
{
    std::mt19937 random (12345);
    std::vector<std::uint8_t> data (4096);

    for (auto& b : data)
        b = (std::uint8_t) random();

    for (int length : { 1, 2, 3, 7, 62, 63, 255, 1000, 4096 })
        EXPECT_EQ (packageChecksum (data.data(), length), augmentedCrc (data.data(), length)) << "length " << length;

    // Runs of bits that make the top bit fall out on every step.
    const std::vector<std::uint8_t> ones (100, 0xFF), high (100, 0x80);
    EXPECT_EQ (packageChecksum (ones.data(), 100), augmentedCrc (ones.data(), 100));
    EXPECT_EQ (packageChecksum (high.data(), 100), augmentedCrc (high.data(), 100));
}

// Blocks checked side by side give each block's own checksum, whatever the
// mix of lengths, equal, empty or missing.
TEST (PackageChecksum, SideBySideEqualsOneByOne)
{
    std::mt19937 random (777);
    std::vector<std::uint8_t> pool (20000);

    for (auto& b : pool)
        b = (std::uint8_t) random();

    const std::vector<std::vector<int>> mixes = {
        {}, { 5 }, { 0 }, { 100, 100 }, { 1, 2, 3 }, { 300, 0, 300, 7 },
        { 62, 63, 64, 65, 66 }, { 4000, 1, 1, 1, 1, 1, 1, 1 }, { 0, 0, 9, 0, 0, 0, 0, 2000 },
        { 17, 4093, 250, 250, 3000, 1, 999, 64 }, { 10, -4, 20 },
    };

    for (const auto& lengths : mixes)
    {
        std::vector<const std::uint8_t*> data;
        std::size_t offset = 0;

        for (auto length : lengths)
        {
            data.push_back (pool.data() + offset);
            offset += (std::size_t) std::max (length, 0);
        }

        if (! data.empty())
            data[0] = lengths[0] == 0 ? nullptr : data[0];

        std::vector<std::uint16_t> results (lengths.size(), 0xBEEF);
        packageChecksums (data.data(), lengths.data(), results.data(), (int) lengths.size());

        for (size_t i = 0; i < lengths.size(); ++i)
            EXPECT_EQ (results[i], packageChecksum (data[i], lengths[i])) << "block " << i << " of " << lengths.size();
    }
}
