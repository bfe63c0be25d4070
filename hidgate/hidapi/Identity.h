#pragma once

// The maker's devices this library knows: USB identifiers and the type code
// each is reported with. Every identifier lives here and nowhere else; the
// udev rule in packaging/linux grants access to the same ones.

#include <cstdint>

namespace hidgate_hidapi
{
    constexpr std::uint16_t kmxVendorId           = 0x3F5A;
    constexpr std::uint16_t kmxQ7UpdateProductId  = 0x0E07;   // KMX-Q7 started in its update mode

    constexpr int kmxQ7UpdateType = 14;

    struct Identity
    {
        std::uint16_t vendorId;
        std::uint16_t productId;
        int type;
    };

    constexpr Identity identities[] =
    {
        { kmxVendorId, kmxQ7UpdateProductId, kmxQ7UpdateType },
    };

    // The type code of a known device, -1 for any other.
    constexpr int typeOf (std::uint16_t vendorId, std::uint16_t productId)
    {
        for (const auto& id : identities)
            if (id.vendorId == vendorId && id.productId == productId)
                return id.type;

        return -1;
    }

    // The USB device release number holds the firmware version as BCD
    // major.minor: 0x0105 is 1.05, reported as 105.
    constexpr int versionFromRelease (std::uint16_t release)
    {
        const int major = ((release >> 12) & 0xF) * 10 + ((release >> 8) & 0xF);
        const int minor = ((release >> 4) & 0xF) * 10 + (release & 0xF);
        return major * 100 + minor;
    }
}
