// Validation throughput of a 16 MiB update package: the in-memory check, and
// reading the file plus the check as the program does at start-up.
//   bench_package [RUNS]    best and mean of RUNS (default 10)
#include "package/PackageCheck.h"
#include "package/PackageChecksum.h"
#include "package/PackageFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
    using namespace PackageLayout;

    // 16 MiB in all: eight segments of equal length, the rest of the payload
    // behind the last record.
    std::vector<std::uint8_t> makePackage()
    {
        const std::size_t total = 16u << 20;
        const std::uint32_t segment = (std::uint32_t) ((total - fixedOverhead) / recordCount);
        std::vector<std::uint8_t> out (total, ' ');
        std::uint32_t state = 2463534242u;

        std::copy_n ("110", 3, out.begin() + (long) versionOffset);
        std::size_t p = headerSize;

        for (int i = 0; i < recordCount; ++i)
        {
            std::copy_n ("KMX-Q7 ", identifierSize, out.begin() + (long) p);
            out[p + flagOffset] = 'Y';

            for (int b = 0; b < 4; ++b)
                out[p + lengthOffset + (size_t) b] = (std::uint8_t) (segment >> (8 * b));

            auto* data = out.data() + p + dataOffset;

            for (std::uint32_t k = 0; k < segment; ++k)
            {
                state ^= state << 13; state ^= state >> 17; state ^= state << 5;
                data[k] = (std::uint8_t) state;
            }

            const auto c = packageChecksum (data, (int) segment);
            data[segment] = (std::uint8_t) c;
            data[segment + 1] = (std::uint8_t) (c >> 8);
            p += segment + recordOverhead;
        }

        return out;
    }

    template <typename Fn>
    void measure (const char* what, std::size_t bytes, int runs, Fn&& fn)
    {
        std::vector<double> seconds;

        for (int r = 0; r < runs; ++r)
        {
            const auto start = std::chrono::steady_clock::now();

            if (! fn())
            {
                std::printf ("%s: the package did not validate\n", what);
                std::exit (1);
            }

            seconds.push_back (std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count());
        }

        const auto best = *std::min_element (seconds.begin(), seconds.end());
        double mean = 0;
        for (auto s : seconds)
            mean += s / (double) seconds.size();

        const double mb = (double) bytes / 1.0e6;
        std::printf ("%-16s size %zu bytes  best %.2f ms (%.1f MB/s)  mean %.2f ms (%.1f MB/s)  runs %d\n",
                     what, bytes, best * 1e3, mb / best, mean * 1e3, mb / mean, runs);
    }
}

int main (int argc, char** argv)
{
    const int runs = argc > 1 ? std::max (1, std::atoi (argv[1])) : 10;
    const auto package = makePackage();

    measure ("check in memory", package.size(), runs, [&]
    {
        return PackageCheck::check (package.data(), package.size(), "KMX-Q7 ").isValid();
    });

    const auto file = juce::File::createTempFile (".upd");
    file.replaceWithData (package.data(), package.size());

    measure ("read and check", package.size(), runs, [&]
    {
        juce::MemoryBlock bytes;
        return PackageFile::read (file, bytes) == PackageFile::ReadResult::ok
            && PackageCheck::check (static_cast<const std::uint8_t*> (bytes.getData()), bytes.getSize(), "KMX-Q7 ").isValid();
    });

    file.deleteFile();
    return 0;
}
