#include "transfer/TransferTimings.h"

#include <atomic>

namespace WorkerTimings
{
    namespace
    {
        // Atomics, so a test thread that sets them and a worker that reads
        // them never race, even when a test forgets to wait for the worker.
        std::atomic<int> replyTimeoutMs      { TransferTimings().replyTimeoutMs };
        std::atomic<int> sliceReplyTimeoutMs { TransferTimings().sliceReplyTimeoutMs };
        std::atomic<int> pollPauseMs         { TransferTimings().pollPauseMs };
    }

    TransferTimings current()
    {
        TransferTimings t;
        t.replyTimeoutMs      = replyTimeoutMs.load();
        t.sliceReplyTimeoutMs = sliceReplyTimeoutMs.load();
        t.pollPauseMs         = pollPauseMs.load();
        return t;
    }

    void use (const TransferTimings& t)
    {
        replyTimeoutMs      = t.replyTimeoutMs;
        sliceReplyTimeoutMs = t.sliceReplyTimeoutMs;
        pollPauseMs         = t.pollPauseMs;
    }

    void restoreDefaults()
    {
        use (TransferTimings());
    }
}
