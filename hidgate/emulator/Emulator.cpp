#include "Emulator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>

#ifdef _WIN32
  #include <windows.h>
#else
  #include <unistd.h>
#endif

namespace hidgate_emulator
{
namespace
{
    // Report codes of the update protocol.
    constexpr std::uint8_t startRequest     = 0xF0;
    constexpr std::uint8_t segmentRequest   = 0xF1;
    constexpr std::uint8_t finishRequest    = 0xF2;
    constexpr std::uint8_t sliceRequest     = 0xF3;
    constexpr std::uint8_t startAccepted    = 0xF8;
    constexpr std::uint8_t proceedAck       = 0xF9;
    constexpr std::uint8_t segmentEndAck    = 0xFE;
    constexpr std::uint8_t finishPending    = 0xF7;
    constexpr std::uint8_t finishDone       = 0xFC;

    constexpr int sliceSize = 62;

    const char* const scenarioFileName = "hidgate-scenario.txt";

    std::string executableFolder()
    {
       #ifdef _WIN32
        char path[MAX_PATH] {};
        const DWORD n = GetModuleFileNameA (nullptr, path, MAX_PATH);
        std::string s (path, n);
        const auto slash = s.find_last_of ("\\/");
       #else
        char path[4096] {};
        const ssize_t n = readlink ("/proc/self/exe", path, sizeof (path) - 1);
        std::string s (path, n > 0 ? (size_t) n : 0);
        const auto slash = s.find_last_of ('/');
       #endif
        return slash == std::string::npos ? std::string (".") : s.substr (0, slash);
    }

    std::string hexLine (const std::vector<std::uint8_t>& bytes)
    {
        std::string line;
        char cell[4];

        for (auto b : bytes)
        {
            std::snprintf (cell, sizeof (cell), "%02X", b);
            if (! line.empty())
                line += ' ';
            line += cell;
        }

        return line;
    }
}

std::uint16_t crc16 (const std::uint8_t* data, std::size_t size)
{
    std::uint16_t crc = 0;

    for (std::size_t i = 0; i < size; ++i)
    {
        crc = (std::uint16_t) (crc ^ (data[i] << 8));

        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) != 0 ? (std::uint16_t) ((crc << 1) ^ 0x1021) : (std::uint16_t) (crc << 1);
    }

    return crc;
}

//==============================================================================
Emulator& Emulator::get()
{
    static Emulator emulator;
    return emulator;
}

Emulator::Emulator()
{
    resetLocked();
}

Emulator::~Emulator()
{
    {
        std::lock_guard<std::mutex> l (lock);
        quit = true;
        window = {};
    }

    wake.notify_all();

    if (thread.joinable())
        thread.join();
}

void Emulator::resetLocked()
{
    devices.clear();
    nextNumber = 1;
    addDeviceLocked (updateModeType, defaultFirmware);
    answerDelayMs = defaultAnswerDelay;
    pendingPolls = defaultPendingPolls;
    faults.clear();
    record = Received();
    std::fill (std::begin (segmentOpened), std::end (segmentOpened), false);
    written = 0;
    lastQuery = -1;
    jobs.clear();
    timeline.clear();
    idle.notify_all();
}

Device* Emulator::findLocked (int number)
{
    for (auto& d : devices)
        if (d.number == number)
            return &d;

    return nullptr;
}

int Emulator::addDeviceLocked (int type, int version)
{
    Device d;
    d.number = nextNumber++;
    d.type = type;
    d.firmwareVersion = version;
    devices.push_back (std::move (d));
    return devices.back().number;
}

int Emulator::plugLocked (int type, int version)
{
    const int number = addDeviceLocked (type, version);
    postLocked (arrivalMessage, number);
    return number;
}

bool Emulator::unplugLocked (int number)
{
    const auto it = std::find_if (devices.begin(), devices.end(), [number] (const Device& d) { return d.number == number; });

    if (it == devices.end())
        return false;

    devices.erase (it);

    // Whatever it was about to answer is lost with it.
    jobs.erase (std::remove_if (jobs.begin(), jobs.end(), [number] (const Job& j)
                                { return j.kind == Job::Answer && j.deviceNumber == number; }),
                jobs.end());

    postLocked (removalMessage, number);
    return true;
}

void Emulator::postLocked (unsigned int message, int number)
{
    if (! started || window == HidgateWindow {} || message == 0)
        return;

   #ifdef _WIN32
    PostMessageW (window, message, (WPARAM) number, 0);
   #else
    window->post (window, message, (uintptr_t) number, 0);
   #endif
}

void Emulator::recordLocked (bool toDevice, int number, const std::uint8_t* bytes)
{
    ReportRecord r;
    r.toDevice = toDevice;
    r.deviceNumber = number;
    r.bytes.assign (bytes, bytes + 64);

    if (transcript.is_open())
        transcript << (toDevice ? "> " : "< ") << number << ' ' << hexLine (r.bytes) << std::endl;

    record.transcript.push_back (std::move (r));
}

//==============================================================================
int Emulator::initialize()
{
    loadScenarioFile();
    return 1;
}

int Emulator::setCallback (HidgateWindow w, unsigned int input, unsigned int arrival, unsigned int removal)
{
    // Posting happens under the lock, so once this returns with a null window
    // nothing is posted to the old one any more.
    std::lock_guard<std::mutex> l (lock);
    window = w;
    inputMessage = input;
    arrivalMessage = arrival;
    removalMessage = removal;
    return 1;
}

int Emulator::start()
{
    std::lock_guard<std::mutex> l (lock);
    started = true;

    const auto now = Clock::now();

    for (auto job : timeline)
    {
        job.due = now + (job.due - Clock::time_point());
        scheduleLocked (job);
    }

    timeline.clear();
    return 1;
}

int Emulator::stop()
{
    {
        std::lock_guard<std::mutex> l (lock);
        started = false;
        jobs.clear();
        quit = true;
    }

    wake.notify_all();
    idle.notify_all();

    if (thread.joinable())
        thread.join();

    std::lock_guard<std::mutex> l (lock);
    quit = false;
    threadRunning = false;
    return 1;
}

int Emulator::finalize()
{
    std::lock_guard<std::mutex> l (lock);
    writeRecordFilesLocked();

    if (transcript.is_open())
        transcript.close();

    return 1;
}

int Emulator::enumerate (int* numbers)
{
    std::lock_guard<std::mutex> l (lock);

    if (numbers == nullptr)
        return 0;

    int n = 0;

    for (const auto& d : devices)
        if (n < HIDGATE_MAX_DEVICES)
            numbers[n++] = d.number;

    return n;
}

int Emulator::deviceType (int number)
{
    std::lock_guard<std::mutex> l (lock);
    const auto* d = findLocked (number);
    return d != nullptr ? d->type : -1;
}

int Emulator::firmwareVersion (int type, int* version)
{
    std::lock_guard<std::mutex> l (lock);
    lastQuery = type;

    for (const auto& d : devices)
    {
        if (d.type == type)
        {
            if (version != nullptr)
                version[0] = d.firmwareVersion;

            return 1;
        }
    }

    return 0;
}

int Emulator::input (int number, unsigned char* buffer, int* length)
{
    std::lock_guard<std::mutex> l (lock);

    if (length == nullptr)
        return 0;

    auto* d = findLocked (number);

    if (d == nullptr || d->input.empty() || buffer == nullptr || *length <= 0)
    {
        *length = 0;
        return 0;
    }

    const auto& report = d->input.front();
    const int n = std::min (*length, (int) report.size());
    std::memcpy (buffer, report.data(), (size_t) n);
    d->input.pop_front();
    *length = n;
    return 1;
}

int Emulator::write (int number, const unsigned char* data, int length)
{
    std::lock_guard<std::mutex> l (lock);
    auto* d = findLocked (number);

    if (d == nullptr || data == nullptr || length <= 0 || length > 64)
        return 0;

    Report report {};
    std::memcpy (report.data(), data, (size_t) length);
    ++written;
    recordLocked (true, number, report.data());

    Job job;
    job.kind = Job::Answer;
    job.deviceNumber = number;
    job.due = Clock::now() + std::chrono::milliseconds (answerDelayMs);

    if (answerLocked (*d, report, job))
        scheduleLocked (job);

    return 1;
}

//==============================================================================
// The protocol peer.

bool Emulator::takeFaultLocked (Step step, int segment, int index, bool isLast, Fault& fault)
{
    for (auto it = faults.begin(); it != faults.end(); ++it)
    {
        if (it->step != step)
            continue;

        if ((step == Step::SegmentRequest || step == Step::Slice) && it->segment != segment)
            continue;

        if (step == Step::Slice && ! (it->index == index || (it->index == lastSlice && isLast)))
            continue;

        if (step == Step::FinishPoll && it->index != index)
            continue;

        fault = *it;
        faults.erase (it);
        return true;
    }

    return false;
}

std::uint8_t Emulator::percentLocked (const Session& s) const
{
    if (s.totalEnabled == 0)
        return 0;

    return (std::uint8_t) std::min<std::uint64_t> (100, s.totalReceived * 100 / s.totalEnabled);
}

bool Emulator::answerLocked (Device& device, const Report& report, Job& job)
{
    auto& s = device.session;
    auto& reply = job.reply;

    // Which step this report is, before the peer moves on.
    Step step = Step::Start;
    int segment = report[1];
    int index = 0;
    bool isLast = false;
    bool known = true;

    switch (report[0])
    {
        case startRequest:   step = Step::Start; break;
        case segmentRequest: step = Step::SegmentRequest; break;
        case finishRequest:  step = Step::FinishPoll; index = s.polls; break;
        case sliceRequest:
        {
            step = Step::Slice;
            const auto length = segment >= 1 && segment <= 8 ? s.table.segments[segment - 1].length : 0u;
            index = (int) (s.segmentBytes.size() / sliceSize);
            isLast = length - std::min<std::uint64_t> (length, s.segmentBytes.size()) <= (std::uint64_t) sliceSize;
            break;
        }
        default: known = false; break;
    }

    switch (report[0])
    {
        case startRequest:   startReportLocked (device, report, reply); break;
        case segmentRequest: segmentRequestLocked (device, report, reply); break;
        case sliceRequest:   sliceLocked (device, report, reply); break;
        case finishRequest:  finishLocked (device, reply); break;
        default:             reply[0] = refusedCode; break;
    }

    Fault fault;

    if (known && takeFaultLocked (step, segment, index, isLast, fault))
    {
        switch (fault.kind)
        {
            case FaultKind::NoAnswer:  return false;
            case FaultKind::WrongCode: reply[0] = fault.code; break;
            case FaultKind::Removal:   job.kind = Job::Remove; break;
            case FaultKind::Delay:     job.due = Clock::now() + std::chrono::milliseconds (fault.delayMs); break;
        }
    }

    return true;
}

void Emulator::startReportLocked (Device& device, const Report& r, Report& reply)
{
    StartReport table;
    table.received = true;
    table.version = ((r[2] << 8) | r[3]) >> 4;
    table.size = (std::uint32_t) r[4] | ((std::uint32_t) r[5] << 8) | ((std::uint32_t) r[6] << 16);

    bool wellFormed = r[1] == 0;

    for (int i = 0; i < 8; ++i)
    {
        const auto* e = &r[(size_t) (7 + 6 * i)];
        auto& entry = table.segments[i];
        entry.number = e[0] & 0x7F;
        entry.enabled = (e[0] & 0x80) != 0;
        entry.length = (std::uint32_t) e[1] | ((std::uint32_t) e[2] << 8) | ((std::uint32_t) e[3] << 16);
        entry.checksum = (std::uint16_t) (e[4] | (e[5] << 8));
        wellFormed = wellFormed && entry.number == i + 1;
    }

    record.start = table;

    if (! wellFormed)
    {
        device.session = Session();
        reply[0] = refusedCode;
        return;
    }

    Session s;
    s.started = true;
    s.table = table;

    for (const auto& entry : table.segments)
        if (entry.enabled)
            s.totalEnabled += entry.length;

    device.session = s;

    for (int i = 0; i < 8; ++i)
    {
        record.segmentData[i].clear();
        record.segmentVerified[i] = false;
        segmentOpened[i] = false;
    }

    record.finishPolls = 0;
    record.finished = false;
    reply[0] = startAccepted;
}

void Emulator::segmentRequestLocked (Device& device, const Report& r, Report& reply)
{
    auto& s = device.session;
    const int number = r[1];

    if (! s.started || number < 1 || number > 8 || ! s.table.segments[number - 1].enabled)
    {
        reply[0] = refusedCode;
        return;
    }

    s.openSegment = number;
    s.segmentBytes.clear();
    record.segmentData[number - 1].clear();
    record.segmentVerified[number - 1] = false;
    segmentOpened[number - 1] = true;

    if (s.table.segments[number - 1].length == 0)
        finishSegmentLocked (s, crc16 (nullptr, 0) == s.table.segments[number - 1].checksum);

    reply[0] = proceedAck;
    reply[1] = percentLocked (s);
}

void Emulator::sliceLocked (Device& device, const Report& r, Report& reply)
{
    auto& s = device.session;
    const int number = r[1];

    if (! s.started || s.openSegment == 0 || number != s.openSegment)
    {
        reply[0] = refusedCode;
        reply[1] = percentLocked (s);
        return;
    }

    const auto& entry = s.table.segments[number - 1];
    const auto remaining = entry.length - std::min<std::uint64_t> (entry.length, s.segmentBytes.size());
    const int take = (int) std::min<std::uint64_t> (remaining, sliceSize);

    // Past the segment's end a slice carries 0xFF only.
    for (int i = 2 + take; i < 64; ++i)
    {
        if (r[(size_t) i] != 0xFF)
        {
            finishSegmentLocked (s, false);
            reply[0] = refusedCode;
            reply[1] = percentLocked (s);
            return;
        }
    }

    s.segmentBytes.insert (s.segmentBytes.end(), r.begin() + 2, r.begin() + 2 + take);
    record.segmentData[number - 1].insert (record.segmentData[number - 1].end(), r.begin() + 2, r.begin() + 2 + take);
    s.totalReceived += (std::uint64_t) take;

    if (s.segmentBytes.size() < entry.length)
    {
        reply[0] = proceedAck;
        reply[1] = percentLocked (s);
        return;
    }

    const bool verified = crc16 (s.segmentBytes.data(), s.segmentBytes.size()) == entry.checksum;
    finishSegmentLocked (s, verified);
    reply[0] = verified ? segmentEndAck : refusedCode;
    reply[1] = percentLocked (s);
}

void Emulator::finishSegmentLocked (Session& s, bool verified)
{
    if (s.openSegment >= 1)
        record.segmentVerified[s.openSegment - 1] = verified;

    s.openSegment = 0;
    s.segmentBytes.clear();
    writeRecordFilesLocked();
}

void Emulator::finishLocked (Device& device, Report& reply)
{
    auto& s = device.session;

    if (! s.started)
    {
        reply[0] = refusedCode;
        return;
    }

    const int poll = s.polls++;
    record.finishPolls = s.polls;

    if (poll < pendingPolls)
    {
        // Writing the flash: a figure that rises with every poll.
        reply[0] = finishPending;
        reply[1] = (std::uint8_t) ((poll + 1) * 100 / (pendingPolls + 1));
    }
    else
    {
        reply[0] = finishDone;
        reply[1] = 100;
        record.finished = true;
        writeRecordFilesLocked();
    }
}

//==============================================================================
// The answer thread.

void Emulator::scheduleLocked (Job job)
{
    // Stable by due time: answers of one device keep their order.
    auto it = std::upper_bound (jobs.begin(), jobs.end(), job.due,
                                [] (Clock::time_point due, const Job& j) { return due < j.due; });
    jobs.insert (it, job);
    ensureThreadLocked();
    wake.notify_all();
}

void Emulator::ensureThreadLocked()
{
    if (threadRunning || quit)
        return;

    if (thread.joinable())
        thread.join();   // a loop that ended in stop(); it holds no lock now

    threadRunning = true;
    thread = std::thread ([this] { threadLoop(); });
}

void Emulator::threadLoop()
{
    std::unique_lock<std::mutex> l (lock);

    while (! quit)
    {
        if (jobs.empty())
        {
            idle.notify_all();
            wake.wait (l);
            continue;
        }

        const auto due = jobs.front().due;

        if (Clock::now() < due)
        {
            wake.wait_until (l, due);
            continue;
        }

        const Job job = jobs.front();
        jobs.pop_front();
        runJobLocked (job);

        if (jobs.empty())
            idle.notify_all();
    }
}

void Emulator::runJobLocked (const Job& job)
{
    switch (job.kind)
    {
        case Job::Answer:
            if (auto* d = findLocked (job.deviceNumber))
            {
                d->input.emplace_back (job.reply.begin(), job.reply.end());
                recordLocked (false, job.deviceNumber, job.reply.data());
                postLocked (inputMessage, job.deviceNumber);
            }
            break;

        case Job::Remove:
        case Job::UnplugOne:
            unplugLocked (job.deviceNumber);
            break;

        case Job::Plug:
            plugLocked (job.type, job.firmwareVersion);
            break;

        case Job::UnplugAll:
            while (! devices.empty())
                unplugLocked (devices.front().number);
            break;
    }
}

//==============================================================================
// Control.

int Emulator::plug (int type, int version)
{
    std::lock_guard<std::mutex> l (lock);
    return plugLocked (type, version);
}

bool Emulator::unplug (int number)
{
    std::lock_guard<std::mutex> l (lock);
    return unplugLocked (number);
}

void Emulator::unplugAll()
{
    std::lock_guard<std::mutex> l (lock);

    while (! devices.empty())
        unplugLocked (devices.front().number);
}

std::vector<int> Emulator::attached()
{
    std::lock_guard<std::mutex> l (lock);
    std::vector<int> numbers;

    for (const auto& d : devices)
        numbers.push_back (d.number);

    return numbers;
}

bool Emulator::injectInput (int number, const std::vector<std::uint8_t>& report)
{
    std::lock_guard<std::mutex> l (lock);
    auto* d = findLocked (number);

    if (d == nullptr)
        return false;

    d->input.push_back (report);
    Report padded {};
    std::memcpy (padded.data(), report.data(), std::min<size_t> (report.size(), padded.size()));
    recordLocked (false, number, padded.data());
    postLocked (inputMessage, number);
    return true;
}

void Emulator::setAnswerDelay (int ms)
{
    std::lock_guard<std::mutex> l (lock);
    answerDelayMs = std::max (0, ms);
}

void Emulator::setPendingFinishPolls (int count)
{
    std::lock_guard<std::mutex> l (lock);
    pendingPolls = std::max (0, count);
}

void Emulator::addFault (const Fault& fault)
{
    std::lock_guard<std::mutex> l (lock);
    faults.push_back (fault);
}

void Emulator::clearFaults()
{
    std::lock_guard<std::mutex> l (lock);
    faults.clear();
}

Received Emulator::received()
{
    std::lock_guard<std::mutex> l (lock);
    return record;
}

void Emulator::clearReceived()
{
    std::lock_guard<std::mutex> l (lock);
    record = Received();
    std::fill (std::begin (segmentOpened), std::end (segmentOpened), false);
    written = 0;
}

int Emulator::reportsWritten()
{
    std::lock_guard<std::mutex> l (lock);
    return written;
}

int Emulator::lastFirmwareQuery()
{
    std::lock_guard<std::mutex> l (lock);
    return lastQuery;
}

bool Emulator::waitUntilIdle (int timeoutMs)
{
    std::unique_lock<std::mutex> l (lock);
    return idle.wait_for (l, std::chrono::milliseconds (timeoutMs), [this] { return jobs.empty(); });
}

void Emulator::reset()
{
    std::lock_guard<std::mutex> l (lock);
    resetLocked();
}

//==============================================================================
// Scenario files, for runs of the real program.

std::string Emulator::resolve (const std::string& path) const
{
    if (path.empty() || path[0] == '/' || (path.size() > 1 && path[1] == ':'))
        return path;

    return folder + "/" + path;
}

void Emulator::loadScenarioFile()
{
    folder = executableFolder();
    std::ifstream in (folder + "/" + scenarioFileName);

    if (! in)
        return;

    std::stringstream text;
    text << in.rdbuf();
    std::string error;

    if (! applyScenario (text.str(), &error))
    {
        // A stand-in device has nowhere else to say it; the program stays silent.
        std::fprintf (stderr, "hidgate emulator: %s: %s\n", scenarioFileName, error.c_str());
    }
}

bool Emulator::applyScenario (const std::string& text, std::string* error)
{
    struct DeviceLine { int type, version; };
    std::vector<DeviceLine> deviceLines;
    bool noDevices = false;
    int delay = -1, polls = -1;
    std::vector<Fault> newFaults;
    std::vector<Job> events;
    Scenario files;

    std::istringstream lines (text);
    std::string line;
    int lineNumber = 0;

    auto fail = [&] (const std::string& why)
    {
        if (error != nullptr)
            *error = "line " + std::to_string (lineNumber) + ": " + why;
        return false;
    };

    auto parseInt = [] (const std::string& word, int& value)
    {
        try
        {
            size_t used = 0;
            value = std::stoi (word, &used, 0);
            return used == word.size();
        }
        catch (...) { return false; }
    };

    while (std::getline (lines, line))
    {
        ++lineNumber;
        const auto hash = line.find ('#');

        if (hash != std::string::npos)
            line.erase (hash);

        std::istringstream words (line);
        std::vector<std::string> w;

        for (std::string word; words >> word;)
            w.push_back (word);

        if (w.empty())
            continue;

        const auto& key = w[0];
        int a = 0, b = 0;

        if (key == "device" && w.size() == 3 && parseInt (w[1], a) && parseInt (w[2], b))
            deviceLines.push_back ({ a, b });
        else if (key == "no_devices" && w.size() == 1)
            noDevices = true;
        else if (key == "answer_delay_ms" && w.size() == 2 && parseInt (w[1], delay) && delay >= 0) {}
        else if (key == "pending_finish_polls" && w.size() == 2 && parseInt (w[1], polls) && polls >= 0) {}
        else if (key == "record_segments" && w.size() == 2) files.segmentPrefix = w[1];
        else if (key == "record_transcript" && w.size() == 2) files.transcriptFile = w[1];
        else if (key == "record_start" && w.size() == 2) files.startFile = w[1];
        else if (key == "fault")
        {
            // fault <step...> <kind...>
            Fault f;
            size_t i = 1;

            if (i < w.size() && w[i] == "start") { f.step = Step::Start; ++i; }
            else if (i + 1 < w.size() && w[i] == "segment" && parseInt (w[i + 1], f.segment)) { f.step = Step::SegmentRequest; i += 2; }
            else if (i + 2 < w.size() && w[i] == "slice" && parseInt (w[i + 1], f.segment))
            {
                f.step = Step::Slice;
                if (w[i + 2] == "last") f.index = lastSlice;
                else if (! parseInt (w[i + 2], f.index)) return fail ("bad slice index");
                i += 3;
            }
            else if (i + 1 < w.size() && w[i] == "poll" && parseInt (w[i + 1], f.index)) { f.step = Step::FinishPoll; i += 2; }
            else return fail ("bad fault step");

            if (i < w.size() && w[i] == "none" && i + 1 == w.size()) f.kind = FaultKind::NoAnswer;
            else if (i < w.size() && w[i] == "remove" && i + 1 == w.size()) f.kind = FaultKind::Removal;
            else if (i + 2 == w.size() && w[i] == "code" && parseInt (w[i + 1], a) && a >= 0 && a <= 255) { f.kind = FaultKind::WrongCode; f.code = (std::uint8_t) a; }
            else if (i + 2 == w.size() && w[i] == "delay" && parseInt (w[i + 1], a) && a >= 0) { f.kind = FaultKind::Delay; f.delayMs = a; }
            else return fail ("bad fault kind");

            newFaults.push_back (f);
        }
        else if (key == "at" && w.size() >= 3 && parseInt (w[1], a) && a >= 0)
        {
            Job job;
            job.due = Clock::time_point() + std::chrono::milliseconds (a);

            if (w[2] == "unplug" && w.size() == 4 && w[3] == "all") job.kind = Job::UnplugAll;
            else if (w[2] == "unplug" && w.size() == 4 && parseInt (w[3], job.deviceNumber)) job.kind = Job::UnplugOne;
            else if (w[2] == "plug" && w.size() == 5 && parseInt (w[3], job.type) && parseInt (w[4], job.firmwareVersion)) job.kind = Job::Plug;
            else return fail ("bad timed event");

            events.push_back (job);
        }
        else
        {
            return fail ("not understood: " + line);
        }
    }

    std::lock_guard<std::mutex> l (lock);

    if (noDevices || ! deviceLines.empty())
    {
        devices.clear();
        nextNumber = 1;

        for (const auto& d : deviceLines)
            addDeviceLocked (d.type, d.version);
    }

    if (delay >= 0) answerDelayMs = delay;
    if (polls >= 0) pendingPolls = polls;
    faults.insert (faults.end(), newFaults.begin(), newFaults.end());
    timeline.insert (timeline.end(), events.begin(), events.end());
    scenario = files;

    if (transcript.is_open())
        transcript.close();

    if (! scenario.transcriptFile.empty())
        transcript.open (resolve (scenario.transcriptFile), std::ios::out | std::ios::trunc);

    return true;
}

void Emulator::writeRecordFilesLocked()
{
    if (! scenario.segmentPrefix.empty())
    {
        for (int i = 0; i < 8; ++i)
        {
            if (! segmentOpened[i])
                continue;

            std::ofstream out (resolve (scenario.segmentPrefix + std::to_string (i + 1) + ".bin"),
                               std::ios::out | std::ios::binary | std::ios::trunc);
            out.write ((const char*) record.segmentData[i].data(), (std::streamsize) record.segmentData[i].size());
        }
    }

    if (! scenario.startFile.empty() && record.start.received)
    {
        std::ofstream out (resolve (scenario.startFile), std::ios::out | std::ios::trunc);
        out << "version " << record.start.version << "\n"
            << "size " << record.start.size << "\n";

        for (const auto& e : record.start.segments)
            out << "segment " << e.number << " enabled " << (e.enabled ? 1 : 0)
                << " length " << e.length << " checksum " << e.checksum << "\n";

        out << "finish_polls " << record.finishPolls << "\n"
            << "finished " << (record.finished ? 1 : 0) << "\n";

        for (int i = 0; i < 8; ++i)
            if (segmentOpened[i])
                out << "verified " << (i + 1) << ' ' << (record.segmentVerified[i] ? 1 : 0) << "\n";
    }
}
}
