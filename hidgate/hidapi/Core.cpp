#include "Core.h"
#include "Identity.h"

#include <algorithm>
#include <climits>
#include <cstring>

#ifdef _WIN32
  #include <windows.h>
#endif

namespace hidgate_hidapi
{
namespace
{
    // Short, so that a waiting write gets its turn on the handle quickly.
    constexpr int readTimeoutMs = 2;
}

Core::Core (Backend& b, std::chrono::milliseconds pollInterval)
    : backend (b), interval (pollInterval)
{
}

Core::~Core()
{
    stop();
    finalize();
}

int Core::initialize()
{
    if (! initialised)
        initialised = backend.init() == 0;

    return initialised ? 1 : 0;
}

int Core::setCallback (HidgateWindow w, unsigned int input, unsigned int arrival, unsigned int removal)
{
    // Messages are posted under the same lock, so after a cancel returns
    // nothing reaches the old window any more.
    std::lock_guard<std::mutex> l (lock);
    window = w;
    inputMessage = input;
    arrivalMessage = arrival;
    removalMessage = removal;
    return 1;
}

int Core::start()
{
    {
        std::lock_guard<std::mutex> r (refreshMutex);
        refreshLocked (false);   // what is attached now is listed, not announced
    }

    std::lock_guard<std::mutex> w (watchMutex);

    if (watching)
        return 1;

    watching = true;
    watcher = std::thread ([this] { watchLoop(); });
    return 1;
}

int Core::stop()
{
    {
        std::lock_guard<std::mutex> w (watchMutex);
        watching = false;
    }

    watchWake.notify_all();

    if (watcher.joinable())
        watcher.join();

    closeAll();
    return 1;
}

int Core::finalize()
{
    closeAll();

    if (initialised)
        backend.exit();

    initialised = false;
    return 1;
}

void Core::watchLoop()
{
    std::unique_lock<std::mutex> w (watchMutex);

    while (watching)
    {
        watchWake.wait_for (w, interval);

        if (! watching)
            break;

        w.unlock();
        refresh();
        w.lock();
    }
}

void Core::refresh()
{
    std::lock_guard<std::mutex> r (refreshMutex);
    refreshLocked (true);
}

void Core::refreshLocked (bool announce)
{
    struct Wanted { DeviceInfo info; int type; };
    std::vector<Wanted> wanted;

    for (auto& info : backend.enumerate())
    {
        const int type = typeOf (info.vendorId, info.productId);

        if (type >= 0)
            wanted.push_back ({ std::move (info), type });
    }

    std::vector<std::shared_ptr<Device>> gone;

    {
        std::lock_guard<std::mutex> l (lock);

        for (auto it = devices.begin(); it != devices.end();)
        {
            const auto& d = *it;
            const bool present = std::any_of (wanted.begin(), wanted.end(),
                                              [&] (const Wanted& w) { return w.info.path == d->path; });

            // A device whose reads failed is dropped even if it still lists;
            // if it is really there it comes back as a new arrival.
            if (present && ! d->failed)
            {
                ++it;
                continue;
            }

            d->listed = false;
            d->queue.clear();
            gone.push_back (d);

            if (announce)
                postLocked (removalMessage, d->number);

            it = devices.erase (it);
        }
    }

    for (auto& d : gone)
        retire (d);

    for (const auto& w : wanted)
    {
        {
            std::lock_guard<std::mutex> l (lock);

            if (std::any_of (devices.begin(), devices.end(), [&] (const auto& d) { return d->path == w.info.path; }))
                continue;
        }

        // A node we may not open yet (its access rights may still be on the
        // way) is tried again on the next pass.
        const auto handle = backend.open (w.info.path);

        if (handle == nullptr)
            continue;

        auto d = std::make_shared<Device>();
        d->path = w.info.path;
        d->type = w.type;
        d->version = versionFromRelease (w.info.releaseNumber);
        d->handle = handle;

        {
            std::lock_guard<std::mutex> l (lock);
            d->number = allocateNumberLocked();
            devices.push_back (d);

            if (announce)
                postLocked (arrivalMessage, d->number);
        }

        Device* raw = d.get();
        d->reader = std::thread ([this, raw] { readLoop (*raw); });
    }
}

int Core::allocateNumberLocked()
{
    // Numbers only grow, so a number is not handed to another device while
    // the program may still remember it.
    for (;;)
    {
        const int n = nextNumber;
        nextNumber = nextNumber == INT_MAX ? 1 : nextNumber + 1;

        if (std::none_of (devices.begin(), devices.end(), [n] (const auto& d) { return d->number == n; }))
            return n;
    }
}

void Core::retire (const std::shared_ptr<Device>& d)
{
    d->stopReading = true;
    { std::lock_guard<std::mutex> io (d->io); }   // no reader between its check and its wait
    d->ioTurn.notify_all();

    if (d->reader.joinable())
        d->reader.join();

    std::lock_guard<std::mutex> io (d->io);

    if (d->handle != nullptr)
        backend.close (d->handle);

    d->handle = nullptr;
}

void Core::closeAll()
{
    std::lock_guard<std::mutex> r (refreshMutex);
    std::vector<std::shared_ptr<Device>> all;

    {
        std::lock_guard<std::mutex> l (lock);
        all.swap (devices);

        for (auto& d : all)
        {
            d->listed = false;
            d->queue.clear();
        }
    }

    for (auto& d : all)
        retire (d);
}

void Core::readLoop (Device& d)
{
    std::uint8_t buffer[reportSize + 1];

    while (! d.stopReading)
    {
        int n = 0;

        {
            std::unique_lock<std::mutex> io (d.io);
            d.ioTurn.wait (io, [&] { return d.writersWaiting == 0 || d.stopReading; });

            if (d.stopReading)
                break;

            n = backend.read (d.handle, buffer, sizeof (buffer), readTimeoutMs);
        }

        d.ioTurn.notify_all();

        if (n < 0)
        {
            // The device went away (or broke): let the watch drop it now
            // rather than at its next pass.
            d.failed = true;
            watchWake.notify_all();
            break;
        }

        if (n == 0)
            continue;

        std::lock_guard<std::mutex> l (lock);

        if (! d.listed)
            break;

        if (d.queue.size() >= maxQueuedReports)
            d.queue.pop_front();

        d.queue.emplace_back (buffer, buffer + n);
        postLocked (inputMessage, d.number);
    }
}

void Core::postLocked (unsigned int message, int number)
{
    if (window == HidgateWindow {} || message == 0)
        return;

   #ifdef _WIN32
    PostMessageW (window, message, (WPARAM) number, 0);
   #else
    window->post (window, message, (uintptr_t) number, 0);
   #endif
}

int Core::enumerate (int* numbers)
{
    if (numbers == nullptr)
        return 0;

    bool watched;

    {
        std::lock_guard<std::mutex> w (watchMutex);
        watched = watching;
    }

    if (! watched)
    {
        std::lock_guard<std::mutex> r (refreshMutex);
        refreshLocked (false);
    }

    std::lock_guard<std::mutex> l (lock);
    int n = 0;

    for (const auto& d : devices)
        if (n < HIDGATE_MAX_DEVICES)
            numbers[n++] = d->number;

    return n;
}

int Core::deviceType (int number)
{
    std::lock_guard<std::mutex> l (lock);

    for (const auto& d : devices)
        if (d->number == number)
            return d->type;

    return -1;
}

int Core::firmwareVersion (int type, int* version)
{
    std::lock_guard<std::mutex> l (lock);

    for (const auto& d : devices)
    {
        if (d->type == type)
        {
            if (version != nullptr)
                version[0] = d->version;

            return 1;
        }
    }

    return 0;
}

int Core::input (int number, unsigned char* buffer, int* length)
{
    if (length == nullptr)
        return 0;

    std::lock_guard<std::mutex> l (lock);

    for (const auto& d : devices)
    {
        if (d->number != number)
            continue;

        if (d->queue.empty() || buffer == nullptr || *length <= 0)
            break;

        const auto& report = d->queue.front();
        const int n = std::min (*length, (int) report.size());
        std::memcpy (buffer, report.data(), (size_t) n);
        d->queue.pop_front();
        *length = n;
        return 1;
    }

    *length = 0;
    return 0;
}

int Core::write (int number, const unsigned char* data, int length)
{
    if (data == nullptr || length <= 0 || length > (int) reportSize)
        return 0;

    std::shared_ptr<Device> d;

    {
        std::lock_guard<std::mutex> l (lock);

        for (const auto& candidate : devices)
            if (candidate->number == number)
                d = candidate;
    }

    if (d == nullptr)
        return 0;

    // The device has one unnumbered output report: report ID 0, then 64 bytes.
    std::uint8_t framed[reportSize + 1] {};
    std::memcpy (framed + 1, data, (size_t) length);

    int result;

    {
        ++d->writersWaiting;   // before the lock: the reader yields to us
        std::unique_lock<std::mutex> io (d->io);

        if (d->handle == nullptr)
        {
            --d->writersWaiting;
            return 0;
        }

        result = backend.write (d->handle, framed, sizeof (framed));
        --d->writersWaiting;
    }

    d->ioTurn.notify_all();
    return result > 0 ? 1 : 0;
}
}
