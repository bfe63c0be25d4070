#pragma once

// The emulated controller: devices, their input queues, the protocol peer and
// the answer thread. One object per process, behind the HID_* exports and the
// control functions of EmulatorControl.h.

#include "hidgate.h"
#include "EmulatorControl.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hidgate_emulator
{
    using Clock = std::chrono::steady_clock;
    using Report = std::array<std::uint8_t, 64>;

    // The controller's side of one firmware transfer.
    struct Session
    {
        bool started = false;
        StartReport table;
        int openSegment = 0;          // 1 to 8, 0 when none
        std::vector<std::uint8_t> segmentBytes;
        std::uint64_t totalEnabled = 0;
        std::uint64_t totalReceived = 0;
        int polls = 0;
    };

    struct Device
    {
        int number = 0;
        int type = 0;
        int firmwareVersion = 0;
        std::deque<std::vector<std::uint8_t>> input;
        Session session;
    };

    // Something the answer thread does at a given time.
    struct Job
    {
        enum Kind { Answer, Remove, Plug, UnplugOne, UnplugAll };
        Kind kind = Answer;
        Clock::time_point due;
        int deviceNumber = 0;
        int type = 0;
        int firmwareVersion = 0;
        Report reply {};
    };

    struct Scenario
    {
        std::string segmentPrefix;    // files <prefix><n>.bin
        std::string transcriptFile;
        std::string startFile;
    };

    class Emulator
    {
    public:
        static Emulator& get();
        ~Emulator();

        // HID_* calls
        int initialize();
        int setCallback (HidgateWindow window, unsigned int input, unsigned int arrival, unsigned int removal);
        int start();
        int stop();
        int finalize();
        int enumerate (int* numbers);
        int deviceType (int number);
        int firmwareVersion (int type, int* version);
        int input (int number, unsigned char* buffer, int* length);
        int write (int number, const unsigned char* data, int length);

        // Control
        int plug (int type, int version);
        bool unplug (int number);
        void unplugAll();
        std::vector<int> attached();
        bool injectInput (int number, const std::vector<std::uint8_t>& report);
        void setAnswerDelay (int ms);
        void setPendingFinishPolls (int count);
        void addFault (const Fault& fault);
        void clearFaults();
        Received received();
        void clearReceived();
        int reportsWritten();
        int lastFirmwareQuery();
        bool waitUntilIdle (int timeoutMs);
        void reset();

        // Reads a scenario text; false (and nothing applied) when a line is not understood.
        bool applyScenario (const std::string& text, std::string* error);

    private:
        Emulator();

        Device* findLocked (int number);
        int addDeviceLocked (int type, int version);   // announces nothing
        int plugLocked (int type, int version);
        bool unplugLocked (int number);
        void postLocked (unsigned int message, int number);
        void recordLocked (bool toDevice, int number, const std::uint8_t* bytes);
        void resetLocked();

        // The protocol peer: what the device answers to one report, and
        // whether it answers at all.
        bool answerLocked (Device& device, const Report& report, Job& job);
        void startReportLocked (Device& device, const Report& report, Report& reply);
        void segmentRequestLocked (Device& device, const Report& report, Report& reply);
        void sliceLocked (Device& device, const Report& report, Report& reply);
        void finishLocked (Device& device, Report& reply);
        std::uint8_t percentLocked (const Session& session) const;
        void finishSegmentLocked (Session& session, bool verified);
        bool takeFaultLocked (Step step, int segment, int index, bool isLast, Fault& fault);

        void scheduleLocked (Job job);
        void ensureThreadLocked();
        void threadLoop();
        void runJobLocked (const Job& job);

        void loadScenarioFile();
        void writeRecordFilesLocked();
        std::string resolve (const std::string& path) const;

        std::mutex lock;
        std::condition_variable wake;      // the answer thread's
        std::condition_variable idle;      // waitUntilIdle's

        std::vector<Device> devices;
        int nextNumber = 1;

        HidgateWindow window {};
        unsigned int inputMessage = 0, arrivalMessage = 0, removalMessage = 0;
        bool started = false;

        int answerDelayMs = defaultAnswerDelay;
        int pendingPolls = defaultPendingPolls;
        std::vector<Fault> faults;
        Received record;
        bool segmentOpened[8] {};
        int written = 0;
        int lastQuery = -1;

        std::deque<Job> jobs;
        std::vector<Job> timeline;         // scenario events, run after HID_Start
        std::thread thread;
        bool threadRunning = false;
        bool quit = false;

        Scenario scenario;
        std::ofstream transcript;
        std::string folder;                // the executable's
    };
}
