#pragma once

#include <cstdint>

// CRC-16/XMODEM of a segment's data: polynomial 0x1021, initial value 0,
// neither input nor output reflected, no final XOR. Computed bit by bit,
// without a lookup table. "123456789" gives 0x31C3, "abc" 0x9DD6.
// A length of 0 or less gives 0x0000.
std::uint16_t packageChecksum (const std::uint8_t* data, int length) noexcept;
