#pragma once

// In-process control of the emulated controller library (libhidgate built
// from hidgate/emulator). Tests link that library and steer it through these
// functions; the program itself never calls them.
//
// Every function is thread-safe. Devices plugged or unplugged after HID_Start
// are announced through the callback window exactly as a real arrival or
// removal would be. reset() brings back the state of a fresh process: one
// KMX-Q7 in update mode (type 14, firmware 105) attached, 2 ms answer pacing,
// three "not finished yet" finish answers, no faults, nothing recorded.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#if defined (_WIN32)
  #if defined (HIDGATE_BUILDING)
    #define HIDGATE_EMULATOR_API __attribute__ ((dllexport))
  #else
    #define HIDGATE_EMULATOR_API __attribute__ ((dllimport))
  #endif
#else
  #define HIDGATE_EMULATOR_API __attribute__ ((visibility ("default")))
#endif

namespace hidgate_emulator
{
    constexpr int updateModeType      = 14;    // KMX-Q7 in update mode
    constexpr int defaultFirmware     = 105;   // Ver. 1.05
    constexpr int defaultAnswerDelay  = 2;     // ms, one full-speed report exchange
    constexpr int defaultPendingPolls = 3;     // finish polls answered 0xF7 before 0xFC

    // The emulator's answer to a report it does not accept (a start report it
    // cannot decode, a request out of order, a slice with bad padding, a
    // segment whose checksum differs from the announced one).
    constexpr std::uint8_t refusedCode = 0xFA;

    //==========================================================================
    // Devices. Numbers start at 1 and are never handed out twice in a process
    // run (until reset()).

    // Attaches a device and returns its number.
    HIDGATE_EMULATOR_API int plug (int type = updateModeType, int firmwareVersion = defaultFirmware);

    // Detaches a device: its waiting input and pending answers are dropped.
    // Returns false if no such device is attached.
    HIDGATE_EMULATOR_API bool unplug (int deviceNumber);

    // Detaches every device (for a test that starts with none attached).
    HIDGATE_EMULATOR_API void unplugAll();

    // The numbers of the attached devices, in the order HID_EnumHIDno lists them.
    HIDGATE_EMULATOR_API std::vector<int> attachedDevices();

    // Queues an input report from a device and posts the input message, as if
    // the device had sent it unasked. Returns false if it is not attached.
    HIDGATE_EMULATOR_API bool injectInput (int deviceNumber, const std::vector<std::uint8_t>& report);

    //==========================================================================
    // Pacing. Each answer is queued this many milliseconds after the report it
    // answers was written; 0 answers as fast as possible.
    HIDGATE_EMULATOR_API void setAnswerDelay (int milliseconds);

    // How many finish polls are answered 0xF7 (with a rising figure) before
    // the first 0xFC.
    HIDGATE_EMULATOR_API void setPendingFinishPolls (int count);

    //==========================================================================
    // Faults. A fault fires once, at the first report that matches its step,
    // and replaces the emulator's own answer to that report.

    enum class Step
    {
        Start,           // the start report
        SegmentRequest,  // the request for segment 'segment' (1 to 8)
        Slice,           // slice 'index' of segment 'segment' (0-based; lastSlice for the last)
        FinishPoll       // finish poll 'index' (0-based)
    };

    constexpr int lastSlice = -1;

    enum class FaultKind
    {
        NoAnswer,   // the report is taken but never answered
        WrongCode,  // answered with 'code' (byte 1 keeps the emulator's figure)
        Removal,    // the device is unplugged instead of answering
        Delay       // the usual answer, but 'delayMs' after the report
    };

    struct Fault
    {
        Step step = Step::Start;
        int segment = 1;
        int index = 0;
        FaultKind kind = FaultKind::NoAnswer;
        std::uint8_t code = 0;
        int delayMs = 0;
    };

    HIDGATE_EMULATOR_API void addFault (const Fault& fault);
    HIDGATE_EMULATOR_API void clearFaults();

    //==========================================================================
    // What was received.

    struct SegmentEntry
    {
        int number = 0;           // 1 to 8 as sent
        bool enabled = false;     // bit 7 of the number byte
        std::uint32_t length = 0; // 24 bits
        std::uint16_t checksum = 0;
    };

    struct StartReport
    {
        bool received = false;
        int version = 0;          // major * 100 + minor, decoded from the shifted bytes
        std::uint32_t size = 0;   // 24 bits
        SegmentEntry segments[8];
    };

    struct ReportRecord
    {
        bool toDevice = true;     // false: an answer (or injected input) from the device
        int deviceNumber = 0;
        std::vector<std::uint8_t> bytes;
    };

    struct Received
    {
        StartReport start;
        std::vector<std::uint8_t> segmentData[8];  // bytes taken for segments 1 to 8
        bool segmentVerified[8] {};                // complete, padding and checksum right
        int finishPolls = 0;
        bool finished = false;                     // 0xFC was answered
        std::vector<ReportRecord> transcript;      // every report both ways, in order
    };

    HIDGATE_EMULATOR_API Received received();
    HIDGATE_EMULATOR_API void clearReceived();

    // Reports written (to any device) since the last reset or clearReceived.
    HIDGATE_EMULATOR_API int reportsWritten();

    // The first argument of the latest HID_GetFirmwareVersion call (-1 if none).
    HIDGATE_EMULATOR_API int lastFirmwareVersionQuery();

    //==========================================================================
    // Blocks until every answer due so far has been queued (pending faults of
    // kind NoAnswer excepted) or the time is up; true when idle.
    HIDGATE_EMULATOR_API bool waitUntilIdle (int timeoutMs = 5000);

    // Applies a scenario text as if it had been read from hidgate-scenario.txt
    // beside the executable (the format is in README.md). Nothing is applied
    // when a line is not understood; then *error says which.
    HIDGATE_EMULATOR_API bool applyScenario (const std::string& text, std::string* error = nullptr);

    // Back to the defaults above; keeps the callback window and the started
    // state, announces nothing.
    HIDGATE_EMULATOR_API void reset();

    // The CRC-16/XMODEM the emulator checks segments with (poly 0x1021, init 0).
    HIDGATE_EMULATOR_API std::uint16_t crc16 (const std::uint8_t* data, std::size_t size);
}
