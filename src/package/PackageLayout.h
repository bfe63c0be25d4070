#pragma once

#include <cstddef>
#include <cstdint>

// Where things sit in an update package. Every number in the file is
// little-endian; offsets are in bytes.
namespace PackageLayout
{
    // The header: 36 bytes, of which only the three version digits are read.
    constexpr std::size_t headerSize     = 36;
    constexpr std::size_t versionOffset  = 20;   // three ASCII digits, hundreds first
    constexpr std::size_t versionDigits  = 3;

    // Eight records follow the header, each directly behind the one before.
    constexpr int         recordCount       = 8;
    constexpr std::size_t identifierSize    = 7;    // "KMX-Q7 ", compared byte for byte
    constexpr std::size_t flagOffset        = 15;   // 'Y' marks a segment to be written
    constexpr std::size_t lengthOffset      = 32;   // N, unsigned 32-bit
    constexpr std::size_t dataOffset        = 36;   // N data bytes, then the checksum
    constexpr std::size_t checksumSize      = 2;    // CRC-16 of the data, low byte first
    constexpr std::size_t recordOverhead    = dataOffset + checksumSize;   // a record takes N + 38 bytes

    // What a package takes besides its segment data.
    constexpr std::size_t fixedOverhead = headerSize + recordCount * recordOverhead;
    static_assert (fixedOverhead == 340, "36 header bytes and eight times 38 record bytes");

    // The start report announces every length and the payload size in 24 bits,
    // so neither may reach 2^24: larger values could not be sent correctly.
    constexpr std::uint32_t sizeLimit = 1u << 24;

    // The largest file that can hold a valid package; anything longer is
    // refused without being read.
    constexpr std::uint64_t maxFileSize = fixedOverhead + (std::uint64_t) sizeLimit - 1;

    // Offset of the first record and of the first segment's data.
    constexpr std::uint64_t firstRecordOffset = headerSize;
    constexpr std::uint64_t firstSegmentDataOffset = headerSize + dataOffset;   // 72

    // Where the data of segment `index` (0 to 7) starts in the file, given the
    // lengths of the segments before it. Each segment's data follows the
    // previous one's after its checksum and the next record's 36 leading bytes.
    inline std::uint64_t segmentDataOffset (const std::uint32_t* segmentLengths, int index) noexcept
    {
        std::uint64_t offset = firstSegmentDataOffset;

        for (int i = 0; i < index; ++i)
            offset += (std::uint64_t) segmentLengths[i] + recordOverhead;

        return offset;
    }
}
