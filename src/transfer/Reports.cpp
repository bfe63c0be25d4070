#include "transfer/Reports.h"

#include <cstring>

namespace Reports
{
    namespace
    {
        void put24 (std::uint8_t* at, std::uint32_t value)
        {
            at[0] = (std::uint8_t) (value & 0xFF);
            at[1] = (std::uint8_t) ((value >> 8) & 0xFF);
            at[2] = (std::uint8_t) ((value >> 16) & 0xFF);
        }
    }

    void buildStart (std::uint8_t* report, const Announcement& a)
    {
        std::memset (report, 0, reportSize);
        report[0] = startRequest;
        report[1] = 0x00;
        report[2] = (std::uint8_t) ((a.version >> 4) & 0xFF);
        report[3] = (std::uint8_t) ((a.version << 4) & 0xFF);
        put24 (report + 4, a.payloadSize);

        for (int i = 0; i < segmentCount; ++i)
        {
            auto* entry = report + 7 + 6 * i;
            entry[0] = (std::uint8_t) ((i + 1) | ((a.enabled[i] != 0 ? 1 : 0) << 7));
            put24 (entry + 1, a.lengths[i]);
            entry[4] = (std::uint8_t) (a.checksums[i] & 0xFF);
            entry[5] = (std::uint8_t) (a.checksums[i] >> 8);
        }
    }

    void buildSegment (std::uint8_t* report, int segmentNumber)
    {
        std::memset (report, 0, reportSize);
        report[0] = segmentRequest;
        report[1] = (std::uint8_t) segmentNumber;
    }

    void buildSlice (std::uint8_t* report, int segmentNumber,
                     const std::uint8_t* data, std::uint32_t length, std::uint32_t sliceIndex)
    {
        report[0] = sliceRequest;
        report[1] = (std::uint8_t) segmentNumber;

        const std::uint64_t first = (std::uint64_t) sliceIndex * sliceSize;
        const std::uint64_t available = first < length ? (std::uint64_t) length - first : 0;
        const auto n = (std::size_t) (available < (std::uint64_t) sliceSize ? available : (std::uint64_t) sliceSize);

        if (n > 0)
            std::memcpy (report + 2, data + first, n);

        std::memset (report + 2 + n, 0xFF, (std::size_t) sliceSize - n);
    }

    void buildFinish (std::uint8_t* report)
    {
        std::memset (report, 0, reportSize);
        report[0] = finishRequest;
    }
}
