// Feeds arbitrary bytes to the package check: it must never read outside
// them, and whatever it reports must hang together.
#include "package/PackageCheck.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    const auto result = PackageCheck::check (data, size, "KMX-Q7 ");

    if (result.recordsExamined < 0 || result.recordsExamined > PackageLayout::recordCount)
        std::abort();

    if (result.payloadSize != 0
        && (result.recordsExamined != PackageLayout::recordCount
            || result.payloadSize != (int) (size - PackageLayout::fixedOverhead)
            || result.payloadSize >= (int) PackageLayout::sizeLimit))
        std::abort();

    // The offset rule the transfer uses must land on the data the check read.
    std::uint32_t lengths[PackageLayout::recordCount] {};

    for (int i = 0; i < result.recordsExamined; ++i)
    {
        const auto& r = result.records[i];
        lengths[i] = r.length;

        if (r.fault != PackageCheck::RecordFault::none)
            break;

        if (r.dataOffset != PackageLayout::segmentDataOffset (lengths, i)
            || r.dataOffset + r.length + PackageLayout::checksumSize > size)
            std::abort();
    }

    return 0;
}
