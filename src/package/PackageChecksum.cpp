#include "package/PackageChecksum.h"

#include <algorithm>
#include <cstddef>

// Shifting each byte in at the top of the register and running eight steps
// is the direct form of the augmented CRC (data followed by two zero bytes,
// register read out shifted right by eight): both give the same value.
namespace
{
    // One shift step: the register moves left by one bit and, when a set bit
    // falls out of the top, the polynomial is XORed in. Keeping the 16-bit
    // register in the upper half of a 32-bit word turns "the bit that falls
    // out" into the sign bit, so the step needs no branch and no extra test.
    inline std::uint32_t step (std::uint32_t reg) noexcept
    {
        const auto mask = (std::uint32_t) ((std::int32_t) reg >> 31);
        return (reg << 1) ^ (mask & (0x1021u << 16));
    }

    inline std::uint32_t shiftByte (std::uint32_t reg, std::uint8_t byte) noexcept
    {
        reg ^= (std::uint32_t) byte << 24;
        reg = step (reg); reg = step (reg); reg = step (reg); reg = step (reg);
        reg = step (reg); reg = step (reg); reg = step (reg); reg = step (reg);
        return reg;
    }

    // One block in progress.
    struct Lane
    {
        const std::uint8_t* next;
        std::size_t left;
        std::uint32_t reg;
        int index;
    };

    // Advance one, two, three or four lanes by n bytes each, byte for byte
    // side by side. The registers live in locals so they stay in registers.
    void run (Lane& a, std::size_t n) noexcept
    {
        auto ra = a.reg;
        for (std::size_t i = 0; i < n; ++i)
            ra = shiftByte (ra, a.next[i]);
        a.reg = ra;
    }

    void run (Lane& a, Lane& b, std::size_t n) noexcept
    {
        auto ra = a.reg, rb = b.reg;
        for (std::size_t i = 0; i < n; ++i)
        {
            ra ^= (std::uint32_t) a.next[i] << 24;
            rb ^= (std::uint32_t) b.next[i] << 24;
            for (int bit = 0; bit < 8; ++bit) { ra = step (ra); rb = step (rb); }
        }
        a.reg = ra; b.reg = rb;
    }

    void run (Lane& a, Lane& b, Lane& c, std::size_t n) noexcept
    {
        auto ra = a.reg, rb = b.reg, rc = c.reg;
        for (std::size_t i = 0; i < n; ++i)
        {
            ra ^= (std::uint32_t) a.next[i] << 24;
            rb ^= (std::uint32_t) b.next[i] << 24;
            rc ^= (std::uint32_t) c.next[i] << 24;
            for (int bit = 0; bit < 8; ++bit) { ra = step (ra); rb = step (rb); rc = step (rc); }
        }
        a.reg = ra; b.reg = rb; c.reg = rc;
    }

    void run (Lane& a, Lane& b, Lane& c, Lane& d, std::size_t n) noexcept
    {
        auto ra = a.reg, rb = b.reg, rc = c.reg, rd = d.reg;
        for (std::size_t i = 0; i < n; ++i)
        {
            ra ^= (std::uint32_t) a.next[i] << 24;
            rb ^= (std::uint32_t) b.next[i] << 24;
            rc ^= (std::uint32_t) c.next[i] << 24;
            rd ^= (std::uint32_t) d.next[i] << 24;
            for (int bit = 0; bit < 8; ++bit) { ra = step (ra); rb = step (rb); rc = step (rc); rd = step (rd); }
        }
        a.reg = ra; b.reg = rb; c.reg = rc; d.reg = rd;
    }
}

std::uint16_t packageChecksum (const std::uint8_t* data, int length) noexcept
{
    if (data == nullptr || length <= 0)
        return 0;

    Lane lane { data, (std::size_t) length, 0, 0 };
    run (lane, lane.left);
    return (std::uint16_t) (lane.reg >> 16);
}

void packageChecksums (const std::uint8_t* const* data, const int* lengths,
                       std::uint16_t* results, int count) noexcept
{
    constexpr int maxLanes = 4;
    Lane lanes[maxLanes];
    int active = 0;
    int pending = 0;

    for (;;)
    {
        // Fill free lanes with the next blocks; empty blocks are done at once.
        while (active < maxLanes && pending < count)
        {
            const int i = pending++;

            if (data[i] == nullptr || lengths[i] <= 0)
                results[i] = 0;
            else
                lanes[active++] = { data[i], (std::size_t) lengths[i], 0, i };
        }

        if (active == 0)
            return;

        // Run the lanes together until the shortest of them is done.
        std::size_t n = lanes[0].left;
        for (int k = 1; k < active; ++k)
            n = std::min (n, lanes[k].left);

        switch (active)
        {
            case 1:  run (lanes[0], n); break;
            case 2:  run (lanes[0], lanes[1], n); break;
            case 3:  run (lanes[0], lanes[1], lanes[2], n); break;
            default: run (lanes[0], lanes[1], lanes[2], lanes[3], n); break;
        }

        for (int k = active; --k >= 0;)
        {
            lanes[k].next += n;
            lanes[k].left -= n;

            if (lanes[k].left == 0)
            {
                results[lanes[k].index] = (std::uint16_t) (lanes[k].reg >> 16);
                lanes[k] = lanes[--active];
            }
        }
    }
}
