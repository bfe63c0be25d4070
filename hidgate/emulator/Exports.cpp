// The HID_* calls and the control functions of the emulated controller, all
// forwarded to the one Emulator of the process.

#include "Emulator.h"

using hidgate_emulator::Emulator;

extern "C"
{
HIDGATE_API int HIDGATE_CALL HID_Initialize (HidgateInstance) { return Emulator::get().initialize(); }

HIDGATE_API int HIDGATE_CALL HID_SetCallback (HidgateWindow window, unsigned int input, unsigned int arrival, unsigned int removal)
{
    return Emulator::get().setCallback (window, input, arrival, removal);
}

HIDGATE_API int HIDGATE_CALL HID_Start (void)    { return Emulator::get().start(); }
HIDGATE_API int HIDGATE_CALL HID_Stop (void)     { return Emulator::get().stop(); }
HIDGATE_API int HIDGATE_CALL HID_Finalize (void) { return Emulator::get().finalize(); }

HIDGATE_API int HIDGATE_CALL HID_EnumHIDno (int* numbers)          { return Emulator::get().enumerate (numbers); }
HIDGATE_API int HIDGATE_CALL HID_GetDeviceType (int deviceNumber)  { return Emulator::get().deviceType (deviceNumber); }

HIDGATE_API int HIDGATE_CALL HID_GetFirmwareVersion (int deviceType, int* version, int)
{
    return Emulator::get().firmwareVersion (deviceType, version);
}

HIDGATE_API int HIDGATE_CALL HID_Input (int deviceNumber, unsigned char* buffer, int* length)
{
    return Emulator::get().input (deviceNumber, buffer, length);
}

HIDGATE_API int HIDGATE_CALL HID_Write (int deviceNumber, const unsigned char* data, int length)
{
    return Emulator::get().write (deviceNumber, data, length);
}
}

namespace hidgate_emulator
{
int plug (int type, int firmwareVersion)                     { return Emulator::get().plug (type, firmwareVersion); }
bool unplug (int deviceNumber)                               { return Emulator::get().unplug (deviceNumber); }
void unplugAll()                                             { Emulator::get().unplugAll(); }
std::vector<int> attachedDevices()                           { return Emulator::get().attached(); }
bool injectInput (int n, const std::vector<std::uint8_t>& r) { return Emulator::get().injectInput (n, r); }
void setAnswerDelay (int milliseconds)                       { Emulator::get().setAnswerDelay (milliseconds); }
void setPendingFinishPolls (int count)                       { Emulator::get().setPendingFinishPolls (count); }
void addFault (const Fault& fault)                           { Emulator::get().addFault (fault); }
void clearFaults()                                           { Emulator::get().clearFaults(); }
Received received()                                          { return Emulator::get().received(); }
void clearReceived()                                         { Emulator::get().clearReceived(); }
int reportsWritten()                                         { return Emulator::get().reportsWritten(); }
int lastFirmwareVersionQuery()                               { return Emulator::get().lastFirmwareQuery(); }
bool waitUntilIdle (int timeoutMs)                           { return Emulator::get().waitUntilIdle (timeoutMs); }
void reset()                                                 { Emulator::get().reset(); }
bool applyScenario (const std::string& text, std::string* error) { return Emulator::get().applyScenario (text, error); }
}
