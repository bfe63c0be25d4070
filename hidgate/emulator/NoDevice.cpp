#include "hidgate.h"

extern "C"
{
int HID_Initialize (HidgateInstance) { return 1; }
int HID_SetCallback (HidgateWindow, unsigned int, unsigned int, unsigned int) { return 1; }
int HID_Start() { return 1; }
int HID_Stop() { return 1; }
int HID_Finalize() { return 1; }
int HID_EnumHIDno (int*) { return 0; }
int HID_GetDeviceType (int) { return -1; }
int HID_GetFirmwareVersion (int, int*, int) { return 0; }
int HID_Input (int, unsigned char*, int* length) { if (length != nullptr) *length = 0; return 0; }
int HID_Write (int, const unsigned char*, int) { return 0; }
}
