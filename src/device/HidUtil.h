#pragma once

#include <atomic>
#include <cstdint>

#include "device/HidHandler.h"
#include "platform/MessageWindow.h"

// The two device type codes the connection can look for, indexed by the
// device type index (the main component passes packageValid).
constexpr int deviceTypes[2] = { 0, 14 };

// Messages the library posts to the hidden window; wParam is the device number.
enum HidWindowMessage : unsigned int
{
    RemovalMessage = 1025,   // WM_USER + 1
    ArrivalMessage = 1026,   // WM_USER + 2
    InputMessage   = 1027    // WM_USER + 3
};

// Wraps the device-access library: owns the hidden window that receives its
// notifications, remembers the number of the open controller and asks the
// library for discovery, firmware version, input and output. Message thread,
// except write().
class HidUtil
{
public:
    HidUtil() = default;
    virtual ~HidUtil();

    bool start (HidHandler* owner, int deviceTypeIndex);
    void stop();

    bool findDevice();
    bool closeDevice();
    int readFirmwareVersion();
    int readInput (std::uint8_t* buffer, int length);

    // Worker thread.
    bool write (const std::uint8_t* data, int length);

    static intptr_t KMX_WINDOW_CALLBACK windowProcedure (platform::WindowHandle window, unsigned int message,
                                                         uintptr_t wParam, intptr_t lParam);

    HidHandler* owner = nullptr;
    int deviceTypeIndex = 0;
    platform::ModuleHandle instance {};
    platform::WindowHandle window {};

    // Read by write() on the worker while a removal may clear it.
    std::atomic<int> deviceNumber { -1 };

private:
    int wantedType() const;

    HidUtil (const HidUtil&) = delete;
    HidUtil& operator= (const HidUtil&) = delete;
};

// The started HidUtil, through which the window procedure reaches it; null
// when none is started.
extern HidUtil* currentHidUtil;
