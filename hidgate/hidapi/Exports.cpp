// The HID_* calls of the hidapi build, forwarded to one Core over the system's hidapi.

#include "Core.h"

using hidgate_hidapi::Core;

namespace
{
    Core& core()
    {
        static Core instance (hidgate_hidapi::systemBackend());
        return instance;
    }
}

extern "C"
{
HIDGATE_API int HIDGATE_CALL HID_Initialize (HidgateInstance) { return core().initialize(); }

HIDGATE_API int HIDGATE_CALL HID_SetCallback (HidgateWindow window, unsigned int input, unsigned int arrival, unsigned int removal)
{
    return core().setCallback (window, input, arrival, removal);
}

HIDGATE_API int HIDGATE_CALL HID_Start (void)    { return core().start(); }
HIDGATE_API int HIDGATE_CALL HID_Stop (void)     { return core().stop(); }
HIDGATE_API int HIDGATE_CALL HID_Finalize (void) { return core().finalize(); }

HIDGATE_API int HIDGATE_CALL HID_EnumHIDno (int* numbers)         { return core().enumerate (numbers); }
HIDGATE_API int HIDGATE_CALL HID_GetDeviceType (int deviceNumber) { return core().deviceType (deviceNumber); }

HIDGATE_API int HIDGATE_CALL HID_GetFirmwareVersion (int deviceType, int* version, int)
{
    return core().firmwareVersion (deviceType, version);
}

HIDGATE_API int HIDGATE_CALL HID_Input (int deviceNumber, unsigned char* buffer, int* length)
{
    return core().input (deviceNumber, buffer, length);
}

HIDGATE_API int HIDGATE_CALL HID_Write (int deviceNumber, const unsigned char* data, int length)
{
    return core().write (deviceNumber, data, length);
}
}
