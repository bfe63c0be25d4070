#include "package/PackageCheck.h"

#include "package/PackageChecksum.h"

#include <cstring>

namespace PackageCheck
{
namespace
{
    using namespace PackageLayout;

    std::uint32_t readUint32 (const std::uint8_t* p) noexcept
    {
        return (std::uint32_t) p[0]
             | ((std::uint32_t) p[1] << 8)
             | ((std::uint32_t) p[2] << 16)
             | ((std::uint32_t) p[3] << 24);
    }

    std::uint16_t readUint16 (const std::uint8_t* p) noexcept
    {
        return (std::uint16_t) (p[0] | (p[1] << 8));
    }

    // Each byte is taken as it is, digit or not.
    int readVersion (const std::uint8_t* p) noexcept
    {
        return ((int) p[0] - 0x30) * 100 + ((int) p[1] - 0x30) * 10 + ((int) p[2] - 0x30);
    }

    // Reads the fields of the record at `pos` and checks that it lies wholly
    // within the file; on success `pos` moves behind it. All arithmetic is in
    // 64 bits, so no length field can wrap a position.
    RecordFault examineLayout (const std::uint8_t* data, std::uint64_t size, std::uint64_t& pos,
                               const char* identifier, RecordResult& record) noexcept
    {
        if (pos + identifierSize > size)
            return RecordFault::truncated;

        const auto* p = data + pos;

        if (std::memcmp (p, identifier, identifierSize) != 0)
            return RecordFault::wrongIdentifier;

        if (pos + dataOffset > size)
            return RecordFault::truncated;

        record.enabled = p[flagOffset] == 'Y';
        record.length = readUint32 (p + lengthOffset);
        record.dataOffset = pos + dataOffset;

        if (record.length >= sizeLimit)
            return RecordFault::lengthTooLarge;

        if (record.dataOffset + record.length + checksumSize > size)
            return RecordFault::truncated;

        pos = record.dataOffset + record.length + checksumSize;
        return RecordFault::none;
    }
}

// The records are checked in order and the first that fails ends the check.
// The checksums of the records whose layout is sound are computed together,
// side by side, which is several times faster than one after the other; the
// outcome is the same as checking each record in turn, only an invalid
// package may cost checksums that are then not looked at.
Result check (const std::uint8_t* data, std::size_t size, const char* identifier) noexcept
{
    Result result;

    if (data == nullptr || identifier == nullptr || (std::uint64_t) size > maxFileSize)
        return result;

    if (size >= versionOffset + versionDigits)
        result.version = readVersion (data + versionOffset);

    // Layout: identifiers, lengths, and every record within the file.
    std::uint64_t pos = firstRecordOffset;
    int laidOut = 0;
    RecordFault layoutFault = RecordFault::none;

    while (laidOut < recordCount)
    {
        layoutFault = examineLayout (data, size, pos, identifier, result.records[laidOut]);

        if (layoutFault != RecordFault::none)
            break;

        ++laidOut;
    }

    // Checksums of the records that are wholly in the file.
    const std::uint8_t* segmentData[recordCount] {};
    int segmentLengths[recordCount] {};
    std::uint16_t checksums[recordCount] {};

    for (int i = 0; i < laidOut; ++i)
    {
        segmentData[i] = data + result.records[i].dataOffset;
        segmentLengths[i] = (int) result.records[i].length;
    }

    packageChecksums (segmentData, segmentLengths, checksums, laidOut);

    for (int i = 0; i < laidOut; ++i)
    {
        auto& record = result.records[i];
        record.checksum = checksums[i];
        result.recordsExamined = i + 1;

        if (record.checksum != readUint16 (data + record.dataOffset + record.length))
        {
            record.fault = RecordFault::wrongChecksum;

            for (int later = i + 1; later < recordCount; ++later)
                result.records[later] = {};

            return result;
        }
    }

    if (layoutFault != RecordFault::none)
    {
        result.recordsExamined = laidOut + 1;
        result.records[laidOut].fault = layoutFault;
        return result;
    }

    // Bytes behind the eighth record count in the payload. The size limit
    // above keeps it below 2^24; a file of exactly 340 bytes carries nothing.
    result.payloadSize = (int) (size - fixedOverhead);
    return result;
}
}
