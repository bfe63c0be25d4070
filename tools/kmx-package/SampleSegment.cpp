// kmx-sample-segment OUT LENGTH SEED: writes LENGTH pseudo-random bytes that
// depend only on SEED, so the sample package is the same on every build.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

int main (int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf (stderr, "usage: kmx-sample-segment OUT LENGTH SEED\n");
        return 2;
    }

    const auto length = std::strtoul (argv[2], nullptr, 10);
    std::uint32_t state = (std::uint32_t) std::strtoul (argv[3], nullptr, 10) * 2654435761u + 1u;

    std::vector<char> bytes (length);

    for (auto& b : bytes)
    {
        // xorshift32
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = (char) (state >> 24);
    }

    std::ofstream out (argv[1], std::ios::binary | std::ios::trunc);
    out.write (bytes.data(), (std::streamsize) bytes.size());
    out.close();

    if (! out)
    {
        std::fprintf (stderr, "kmx-sample-segment: cannot write %s\n", argv[1]);
        return 2;
    }

    return 0;
}
