// The Backend over the system's hidapi (hidraw on Linux).

#include "Backend.h"

#include <hidapi.h>

namespace hidgate_hidapi
{
namespace
{
    class SystemBackend final : public Backend
    {
    public:
        int init() override  { return hid_init(); }
        void exit() override { hid_exit(); }

        std::vector<DeviceInfo> enumerate() override
        {
            std::vector<DeviceInfo> list;
            hid_device_info* all = hid_enumerate (0, 0);

            for (auto* i = all; i != nullptr; i = i->next)
            {
                DeviceInfo info;
                info.path = i->path != nullptr ? i->path : "";
                info.vendorId = i->vendor_id;
                info.productId = i->product_id;
                info.releaseNumber = i->release_number;
                list.push_back (std::move (info));
            }

            hid_free_enumeration (all);
            return list;
        }

        Handle open (const std::string& path) override { return hid_open_path (path.c_str()); }
        void close (Handle h) override                 { hid_close (static_cast<hid_device*> (h)); }

        int write (Handle h, const std::uint8_t* data, std::size_t length) override
        {
            return hid_write (static_cast<hid_device*> (h), data, length);
        }

        int read (Handle h, std::uint8_t* data, std::size_t length, int timeoutMs) override
        {
            return hid_read_timeout (static_cast<hid_device*> (h), data, length, timeoutMs);
        }
    };
}

Backend& systemBackend()
{
    static SystemBackend backend;
    return backend;
}
}
