#include "device/HidUtil.h"

#include "hidgate.h"

HidUtil* currentHidUtil = nullptr;

namespace
{
    const char* const windowClassName = "HID_WINDOW_CALLBACK";
}

HidUtil::~HidUtil()
{
    stop();
}

int HidUtil::wantedType() const
{
    return deviceTypeIndex >= 0 && deviceTypeIndex < 2 ? deviceTypes[deviceTypeIndex] : -1;
}

bool HidUtil::start (HidHandler* newOwner, int newDeviceTypeIndex)
{
    if (currentHidUtil != nullptr)
        return false;

    currentHidUtil = this;
    owner = newOwner;
    deviceTypeIndex = newDeviceTypeIndex;

    instance = platform::currentModule();

    if (instance == platform::ModuleHandle {})
    {
        stop();
        return false;
    }

    // Registering twice fails; the class from before serves as well.
    platform::registerWindowClass (windowClassName, &HidUtil::windowProcedure, instance);

    window = platform::createHiddenWindow (windowClassName, windowClassName, instance);

    if (window == platform::WindowHandle {})
    {
        stop();
        return false;
    }

    HID_Initialize (instance);
    HID_SetCallback (window, InputMessage, ArrivalMessage, RemovalMessage);
    HID_Start();
    return true;
}

void HidUtil::stop()
{
    closeDevice();

    if (currentHidUtil == this)
        currentHidUtil = nullptr;

    owner = nullptr;

    if (instance == platform::ModuleHandle {} || window == platform::WindowHandle {})
        return;

    HID_Stop();
    HID_SetCallback (platform::WindowHandle {}, 0, 0, 0);
    HID_Finalize();

    platform::destroyWindow (window);
    platform::unregisterWindowClass (windowClassName, instance);
    instance = {};
    window = {};
}

bool HidUtil::findDevice()
{
    if (deviceNumber >= 0)
        return true;

    int numbers[HIDGATE_MAX_DEVICES] {};
    const int n = HID_EnumHIDno (numbers);

    for (int i = 0; i < n && i < HIDGATE_MAX_DEVICES; ++i)
    {
        if (HID_GetDeviceType (numbers[i]) == wantedType())
        {
            deviceNumber = numbers[i];
            return true;
        }
    }

    return false;
}

bool HidUtil::closeDevice()
{
    if (deviceNumber < 0)
        return false;

    deviceNumber = -1;
    return true;
}

int HidUtil::readFirmwareVersion()
{
    if (deviceNumber < 0)
        return 0;

    // The library is asked by type code, not by device number.
    int version[2] = { 0, 0 };
    HID_GetFirmwareVersion (wantedType(), version, 1);
    return version[0];
}

int HidUtil::readInput (std::uint8_t* buffer, int length)
{
    const int number = deviceNumber;

    if (buffer == nullptr || length == 0 || number < 0)
        return 0;

    HID_Input (number, buffer, &length);
    return length;
}

bool HidUtil::write (const std::uint8_t* data, int length)
{
    const int number = deviceNumber;

    if (data == nullptr || length == 0 || number < 0)
        return false;

    return HID_Write (number, data, length) != 0;
}

intptr_t KMX_WINDOW_CALLBACK HidUtil::windowProcedure (platform::WindowHandle w, unsigned int message,
                                                       uintptr_t wParam, intptr_t lParam)
{
    if (auto* util = currentHidUtil)
    {
        const int number = (int) wParam;

        switch (message)
        {
            case RemovalMessage:
                if (number == util->deviceNumber && util->closeDevice() && util->owner != nullptr)
                    util->owner->deviceRemoved();
                break;

            case ArrivalMessage:
                // Any arrival starts a new search of the whole list.
                if (util->deviceNumber < 0 && util->findDevice() && util->owner != nullptr)
                    util->owner->deviceArrived();
                break;

            case InputMessage:
                if (number == util->deviceNumber && util->owner != nullptr)
                    util->owner->inputReceived();
                break;

            default:
                break;
        }
    }

    return platform::defaultWindowProcedure (w, message, wParam, lParam);
}
