#pragma once

// The seam between hidgate's own logic and hidapi: the few hidapi calls the
// library makes, behind an interface, so that tests can drive the logic with
// a fake while the shipped library uses hidapi itself (SystemBackend.cpp).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hidgate_hidapi
{
    struct DeviceInfo
    {
        std::string path;
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        std::uint16_t releaseNumber = 0;   // bcdDevice
    };

    class Backend
    {
    public:
        using Handle = void*;

        virtual ~Backend() = default;

        virtual int init() = 0;                                    // hid_init
        virtual void exit() = 0;                                   // hid_exit
        virtual std::vector<DeviceInfo> enumerate() = 0;           // hid_enumerate (0, 0) + hid_free_enumeration
        virtual Handle open (const std::string& path) = 0;         // hid_open_path; null on failure
        virtual void close (Handle handle) = 0;                    // hid_close
        virtual int write (Handle handle, const std::uint8_t* data, std::size_t length) = 0;  // hid_write
        virtual int read (Handle handle, std::uint8_t* data, std::size_t length, int timeoutMs) = 0; // hid_read_timeout
    };

    // The backend over the system's hidapi.
    Backend& systemBackend();
}
