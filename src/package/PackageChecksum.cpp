#include "package/PackageChecksum.h"

namespace
{
    // One shift step: the register moves left by one bit and, when a set bit
    // falls out of the top, the polynomial is XORed in. Keeping the register
    // in the upper half of a 32-bit word turns "the bit that falls out" into
    // the sign bit, so the step needs no branch and no extra test.
    inline std::uint32_t step (std::uint32_t reg) noexcept
    {
        const auto mask = (std::uint32_t) ((std::int32_t) reg >> 31);
        return (reg << 1) ^ (mask & (0x1021u << 16));
    }
}

// Shifting each byte in at the top of the register and running eight steps
// is the direct form of the augmented CRC (data followed by two zero bytes,
// register read out shifted right by eight): both give the same value.
std::uint16_t packageChecksum (const std::uint8_t* data, int length) noexcept
{
    if (data == nullptr || length <= 0)
        return 0;

    std::uint32_t reg = 0;

    for (int i = 0; i < length; ++i)
    {
        reg ^= (std::uint32_t) data[i] << 24;

        reg = step (reg); reg = step (reg); reg = step (reg); reg = step (reg);
        reg = step (reg); reg = step (reg); reg = step (reg); reg = step (reg);
    }

    return (std::uint16_t) (reg >> 16);
}
