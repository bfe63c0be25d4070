#pragma once

// How long the worker waits for each kind of answer, and how long it pauses
// between two finish polls.
struct TransferTimings
{
    int replyTimeoutMs      = 10000;    // start, segment and finish requests
    int sliceReplyTimeoutMs = 180000;   // each slice: the controller may be writing flash
    int pollPauseMs         = 100;      // between one finish answer and the next poll
};

// The timings the main component's worker runs with: the program's own,
// unless a test has shortened them so that a time-out takes milliseconds.
// Nothing in the program changes them. Set them before the worker starts.
namespace WorkerTimings
{
    TransferTimings current();
    void use (const TransferTimings& timings);
    void restoreDefaults();
}
