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

    // Examines the record at `pos`; on success `pos` moves behind it. All
    // arithmetic is in 64 bits, so no length field can wrap a position.
    RecordFault examineRecord (const std::uint8_t* data, std::uint64_t size, std::uint64_t& pos,
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

        record.checksum = packageChecksum (data + record.dataOffset, (int) record.length);

        if (record.checksum != readUint16 (data + record.dataOffset + record.length))
            return RecordFault::wrongChecksum;

        pos = record.dataOffset + record.length + checksumSize;
        return RecordFault::none;
    }
}

Result check (const std::uint8_t* data, std::size_t size, const char* identifier) noexcept
{
    Result result;

    if (data == nullptr || identifier == nullptr || (std::uint64_t) size > maxFileSize)
        return result;

    if (size >= versionOffset + versionDigits)
        result.version = readVersion (data + versionOffset);

    std::uint64_t pos = firstRecordOffset;

    for (int i = 0; i < recordCount; ++i)
    {
        auto& record = result.records[i];
        result.recordsExamined = i + 1;
        record.fault = examineRecord (data, size, pos, identifier, record);

        if (record.fault != RecordFault::none)
            return result;
    }

    // Bytes behind the eighth record count in the payload. The size limit
    // above keeps it below 2^24; a file of exactly 340 bytes carries nothing.
    result.payloadSize = (int) (size - fixedOverhead);
    return result;
}
}
