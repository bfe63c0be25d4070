#pragma once

#include <cstdint>

// The 64-byte reports of a firmware transfer and the codes the controller
// answers with. Every multi-byte number is sent low byte first, except the
// version, which goes out shifted left by four bits, high byte first.
namespace Reports
{
    constexpr int reportSize = 64;
    constexpr int sliceSize  = 62;   // data bytes in one slice
    constexpr int segmentCount = 8;

    // Requests, to the controller.
    constexpr std::uint8_t startRequest   = 0xF0;
    constexpr std::uint8_t segmentRequest = 0xF1;
    constexpr std::uint8_t finishRequest  = 0xF2;
    constexpr std::uint8_t sliceRequest   = 0xF3;

    // Answers, from the controller.
    constexpr std::uint8_t startAccepted    = 0xF8;
    constexpr std::uint8_t proceedAck       = 0xF9;   // segment may follow; every slice but a segment's last
    constexpr std::uint8_t segmentEndAck    = 0xFE;   // a segment's last slice
    constexpr std::uint8_t segmentEndAltAck = 0xFB;   // the same as segmentEndAck
    constexpr std::uint8_t finishPending    = 0xF7;
    constexpr std::uint8_t finishDone       = 0xFC;

    // What the start report announces.
    struct Announcement
    {
        int version = 0;                              // major * 100 + minor
        std::uint32_t payloadSize = 0;                // low 24 bits are sent
        std::uint32_t lengths[segmentCount] {};       // low 24 bits are sent
        std::uint16_t checksums[segmentCount] {};
        std::uint8_t enabled[segmentCount] {};        // 1: the segment is to be written
    };

    // Each builder overwrites all 64 bytes of `report`.
    void buildStart (std::uint8_t* report, const Announcement& announcement);

    // segmentNumber is 1 to 8.
    void buildSegment (std::uint8_t* report, int segmentNumber);

    // Slice `sliceIndex` of a segment whose data is `data` (`length` bytes):
    // 62 bytes from sliceIndex * 62, positions past the end filled with 0xFF.
    void buildSlice (std::uint8_t* report, int segmentNumber,
                     const std::uint8_t* data, std::uint32_t length, std::uint32_t sliceIndex);

    void buildFinish (std::uint8_t* report);

    // Slices needed for `length` data bytes (0 for an empty segment).
    constexpr std::uint32_t sliceCount (std::uint32_t length) noexcept
    {
        return (length + (std::uint32_t) sliceSize - 1) / (std::uint32_t) sliceSize;
    }
}
