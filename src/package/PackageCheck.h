#pragma once

#include <cstddef>
#include <cstdint>

#include "package/PackageLayout.h"

// The validation of an update package held in memory. The program, the
// package tool and the tests all run this one check; it never reads outside
// the bytes it is given and allocates nothing.
namespace PackageCheck
{
    // Why a record did not pass.
    enum class RecordFault
    {
        none,
        truncated,         // the record's fields or data run past the end of the file
        wrongIdentifier,   // the first seven bytes are not the identifier
        lengthTooLarge,    // N of 2^24 or more cannot be announced to the controller
        wrongChecksum      // the stored checksum differs from the computed one
    };

    // What was found in one record. Fields the check did not reach are 0.
    struct RecordResult
    {
        RecordFault fault = RecordFault::none;
        bool enabled = false;          // write flag 'Y'
        std::uint32_t length = 0;      // N
        std::uint16_t checksum = 0;    // computed over the N data bytes
        std::uint64_t dataOffset = 0;  // where the data starts in the file
    };

    struct Result
    {
        // The header's version, or -1 when the file is too short to hold it.
        int version = -1;

        // File length - 340 when all eight records passed and the payload can
        // be announced, otherwise 0.
        int payloadSize = 0;

        // Records are examined in order and the first one that fails ends the
        // check: records[0 .. recordsExamined - 1] were looked at, and only
        // the last of them can have a fault.
        int recordsExamined = 0;
        RecordResult records[PackageLayout::recordCount];

        // The package may be used: a positive version and a positive payload.
        bool isValid() const noexcept { return version > 0 && payloadSize > 0; }
    };

    // Checks `size` bytes at `data` against the package layout, with
    // `identifier` the seven bytes every record must start with. A file longer
    // than PackageLayout::maxFileSize is invalid and none of its records are
    // examined.
    Result check (const std::uint8_t* data, std::size_t size, const char* identifier) noexcept;
}
