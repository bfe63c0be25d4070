#pragma once

#include <cstdint>

// CRC-16/XMODEM of a segment's data: polynomial 0x1021, initial value 0,
// neither input nor output reflected, no final XOR. Computed bit by bit,
// without a lookup table. "123456789" gives 0x31C3, "abc" 0x9DD6.
// A length of 0 or less gives 0x0000.
std::uint16_t packageChecksum (const std::uint8_t* data, int length) noexcept;

// The checksums of `count` independent blocks, results[i] for data[i] with
// lengths[i], each exactly as packageChecksum gives it. A single checksum is
// one long chain of dependent shift steps; running several blocks side by
// side lets the processor work on them at the same time.
void packageChecksums (const std::uint8_t* const* data, const int* lengths,
                       std::uint16_t* results, int count) noexcept;
