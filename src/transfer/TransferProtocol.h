#pragma once

#include <juce_core/juce_core.h>
#include <cstdint>

#include "app/ScreenState.h"
#include "transfer/Reports.h"
#include "transfer/TransferTimings.h"

// What the transfer needs from the rest of the program. The main component
// provides it for the real worker; every call comes from the worker thread.
class TransferLink
{
public:
    virtual ~TransferLink() = default;

    struct Answer
    {
        std::uint8_t code = 0;      // byte 0
        std::uint8_t percent = 0;   // byte 1, the controller's completion figure
    };

    // Sends one 64-byte report. Whether it went out is not reported: a report
    // that was not sent shows up as a missing answer.
    virtual void write (const std::uint8_t* report) = 0;

    // Waits up to timeoutMs for the controller's answer; false when none came.
    virtual bool waitForAnswer (int timeoutMs, Answer& answer) = 0;

    // Posts a screen state to be applied on the message thread.
    virtual void requestState (ScreenState state) = 0;

    // The fraction shown by the progress bar, 0.0 to 1.0.
    virtual void setProgress (double fraction) = 0;

    // The last completion figure of a slice answer; it lives as long as the
    // program, not just one transfer.
    virtual double reportedPercent() const = 0;
    virtual void setReportedPercent (double percent) = 0;

    // The pause between finish polls; may end early when the thread is
    // asked to stop.
    virtual void pause (int milliseconds) = 0;
};

// The package as the transfer sees it: what the start report announces, and
// the file the segments' data is read from, again for each segment.
struct TransferPackage
{
    Reports::Announcement announcement;
    juce::File file;
};

// Sends the package to the controller, stop-and-wait, and ends with a state
// request: Complete when every step was accepted, else Failed.
class TransferProtocol
{
public:
    TransferProtocol (TransferLink& link, const TransferPackage& package, const TransferTimings& timings);

    void run();

private:
    enum class SegmentResult { sent, skipped, failed };

    bool sendSegments();
    SegmentResult sendSegment (int index, std::uint64_t fileOffset);
    bool sendSlices (int index, const std::uint8_t* data, std::uint32_t length);
    bool finish();

    TransferLink& link;
    const TransferPackage& package;
    const TransferTimings timings;
    std::uint8_t report[Reports::reportSize] {};

    JUCE_DECLARE_NON_COPYABLE (TransferProtocol)
};
