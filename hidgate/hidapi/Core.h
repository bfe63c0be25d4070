#pragma once

// The hidgate library's logic over a Backend: which devices are listed and
// under which numbers, their versions, report framing, the input queues fed
// by one reader thread per device, and arrival/removal found by enumerating
// again on a background thread (hidapi has no hot-plug notification).

#include "hidgate.h"
#include "Backend.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace hidgate_hidapi
{
    class Core
    {
    public:
        explicit Core (Backend& backend,
                       std::chrono::milliseconds pollInterval = std::chrono::milliseconds (250));
        ~Core();

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

        // One pass of the arrival/removal watch: enumerates, opens what is new,
        // drops what is gone, and posts the messages. The watch thread calls it
        // periodically; tests may call it directly.
        void refresh();

        static constexpr std::size_t reportSize = 64;
        static constexpr std::size_t maxQueuedReports = 4096;

    private:
        struct Device
        {
            int number = 0;
            std::string path;
            int type = 0;
            int version = 0;
            Backend::Handle handle = nullptr;
            bool listed = true;                       // under Core::lock
            std::deque<std::vector<std::uint8_t>> queue;  // under Core::lock

            // Reads and writes take turns on the handle: hidapi does not
            // promise that one device may be used from two threads at once.
            std::mutex io;
            std::condition_variable ioTurn;
            std::atomic<int> writersWaiting { 0 };    // raised before taking io, lowered under it
            std::atomic<bool> stopReading { false };
            std::atomic<bool> failed { false };
            std::thread reader;
        };

        void refreshLocked (bool announce);           // refreshMutex held
        void readLoop (Device& device);
        void retire (const std::shared_ptr<Device>& device);
        void postLocked (unsigned int message, int number);
        int allocateNumberLocked() ;
        void watchLoop();
        void closeAll();

        Backend& backend;
        const std::chrono::milliseconds interval;

        std::mutex refreshMutex;                      // one enumeration pass at a time
        std::mutex lock;                              // devices, queues, the window
        std::vector<std::shared_ptr<Device>> devices;
        int nextNumber = 1;

        HidgateWindow window {};
        unsigned int inputMessage = 0, arrivalMessage = 0, removalMessage = 0;

        std::mutex watchMutex;
        std::condition_variable watchWake;
        bool watching = false;                        // under watchMutex
        std::thread watcher;
        bool initialised = false;
    };
}
