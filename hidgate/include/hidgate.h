/* hidgate: the device-access library through which the program reaches the
   controller. It lists the maker's HID devices by number, tells each one's
   type and firmware version, moves reports, and reports arrival, removal and
   input as window messages (wParam = device number).

   Two builds export exactly these calls: one over hidapi for real devices and
   one that emulates the controller. Numbers, type codes and lengths are
   32-bit ints. */
#ifndef HIDGATE_H
#define HIDGATE_H

#include <stdint.h>

#ifdef _WIN32
  #include <windows.h>
  typedef HINSTANCE HidgateInstance;
  typedef HWND HidgateWindow;
  #ifdef HIDGATE_BUILDING
    #define HIDGATE_API __attribute__ ((dllexport))
  #else
    #define HIDGATE_API __attribute__ ((dllimport))
  #endif
  #define HIDGATE_CALL __stdcall
#else
  /* Elsewhere a "window" is a message sink owned by the program: the library
     posts to it from any thread through its post function, and the program
     delivers the messages in order on its message thread. */
  typedef struct HidgateMessageSink HidgateMessageSink;
  struct HidgateMessageSink
  {
      void (*post) (HidgateMessageSink* sink, unsigned int message, uintptr_t wParam, intptr_t lParam);
  };
  typedef void* HidgateInstance;
  typedef HidgateMessageSink* HidgateWindow;
  #define HIDGATE_API __attribute__ ((visibility ("default")))
  #define HIDGATE_CALL
#endif

#define HIDGATE_MAX_DEVICES 128

#ifdef __cplusplus
extern "C" {
#endif

/* Called once before any other call. */
HIDGATE_API int HIDGATE_CALL HID_Initialize (HidgateInstance instance);

/* Tells the library where to post its notifications; (0, 0, 0, 0) cancels. */
HIDGATE_API int HIDGATE_CALL HID_SetCallback (HidgateWindow window, unsigned int inputMessage,
                                              unsigned int arrivalMessage, unsigned int removalMessage);

HIDGATE_API int HIDGATE_CALL HID_Start (void);
HIDGATE_API int HIDGATE_CALL HID_Stop (void);
HIDGATE_API int HIDGATE_CALL HID_Finalize (void);

/* Fills numbers[0 .. n-1] with the numbers of the attached devices and returns
   n (never more than HIDGATE_MAX_DEVICES); 0 or less means none. */
HIDGATE_API int HIDGATE_CALL HID_EnumHIDno (int* numbers);

HIDGATE_API int HIDGATE_CALL HID_GetDeviceType (int deviceNumber);

/* version points to two ints; the first receives major * 100 + minor of the
   device of that type code. */
HIDGATE_API int HIDGATE_CALL HID_GetFirmwareVersion (int deviceType, int* version, int flag);

/* *length: the buffer size in, the bytes of the oldest waiting report out. */
HIDGATE_API int HIDGATE_CALL HID_Input (int deviceNumber, unsigned char* buffer, int* length);

/* Sends one report; nonzero means success. May run on another thread than
   the other calls. */
HIDGATE_API int HIDGATE_CALL HID_Write (int deviceNumber, const unsigned char* data, int length);

#ifdef __cplusplus
}
#endif

#endif
