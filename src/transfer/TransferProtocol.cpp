#include "transfer/TransferProtocol.h"

#include "package/PackageLayout.h"

TransferProtocol::TransferProtocol (TransferLink& l, const TransferPackage& p, const TransferTimings& t)
    : link (l), package (p), timings (t)
{
}

void TransferProtocol::run()
{
    // Updating first: the first answer must already find the screen in
    // Updating, or it would not wake us.
    link.requestState (Updating);
    link.setProgress (0.0);

    if (package.announcement.payloadSize == 0)
    {
        link.requestState (Failed);
        return;
    }

    Reports::buildStart (report, package.announcement);
    link.write (report);

    TransferLink::Answer answer;

    if (! link.waitForAnswer (timings.replyTimeoutMs, answer) || answer.code != Reports::startAccepted)
    {
        // The controller never took the transfer on: nothing to finish.
        link.requestState (Failed);
        return;
    }

    // Once the controller has accepted the start, it is always asked to
    // finish, whatever happened to the segments.
    const bool segmentsOk = sendSegments();
    const bool finishedOk = finish();

    link.requestState (segmentsOk && finishedOk ? Complete : Failed);
}

bool TransferProtocol::sendSegments()
{
    std::uint64_t offset = PackageLayout::firstSegmentDataOffset;

    for (int i = 0; i < Reports::segmentCount; ++i)
    {
        if (sendSegment (i, offset) == SegmentResult::failed)
            return false;

        offset += (std::uint64_t) package.announcement.lengths[i] + PackageLayout::recordOverhead;
    }

    return true;
}

TransferProtocol::SegmentResult TransferProtocol::sendSegment (int index, std::uint64_t fileOffset)
{
    const std::uint32_t length = package.announcement.lengths[index];

    // One byte more than the data, so an empty segment still has a buffer.
    juce::HeapBlock<std::uint8_t> data;
    data.malloc ((size_t) length + 1);

    if (data == nullptr)
        return SegmentResult::failed;

    std::memset (data.get(), 0xFF, (size_t) length + 1);

    {
        // The file is opened for each segment and closed again at once; a
        // short read leaves the rest of the buffer 0xFF.
        juce::FileInputStream in (package.file);

        if (in.failedToOpen())
            return SegmentResult::failed;

        if (in.setPosition ((juce::int64) fileOffset) && length > 0)
            in.read (data.get(), (int) length);
    }

    if (package.announcement.enabled[index] != 1)
        return SegmentResult::skipped;

    const int segmentNumber = index + 1;
    Reports::buildSegment (report, segmentNumber);
    link.write (report);

    TransferLink::Answer answer;

    if (! link.waitForAnswer (timings.replyTimeoutMs, answer))
        return SegmentResult::failed;

    // A controller that does not want this segment skips it; that is no failure.
    if (answer.code != Reports::proceedAck)
        return SegmentResult::skipped;

    return sendSlices (index, data.get(), length) ? SegmentResult::sent : SegmentResult::failed;
}

bool TransferProtocol::sendSlices (int index, const std::uint8_t* data, std::uint32_t length)
{
    const std::uint32_t slices = Reports::sliceCount (length);

    for (std::uint32_t j = 0; j < slices; ++j)
    {
        link.setProgress (link.reportedPercent() / 100.0);

        Reports::buildSlice (report, index + 1, data, length, j);
        link.write (report);

        TransferLink::Answer answer;

        if (! link.waitForAnswer (timings.sliceReplyTimeoutMs, answer))
            return false;

        const bool last = (j == slices - 1);
        const bool accepted = last ? (answer.code == Reports::segmentEndAck || answer.code == Reports::segmentEndAltAck)
                                   : answer.code == Reports::proceedAck;

        if (! accepted)
            return false;

        link.setReportedPercent ((double) answer.percent);
    }

    return true;
}

bool TransferProtocol::finish()
{
    Reports::buildFinish (report);

    for (;;)
    {
        link.write (report);

        TransferLink::Answer answer;

        if (! link.waitForAnswer (timings.replyTimeoutMs, answer))
            return false;

        const bool done = (answer.code == Reports::finishDone);

        if (! done && answer.code != Reports::finishPending)
            return false;

        link.setProgress (answer.percent / 100.0);
        link.pause (timings.pollPauseMs);

        if (done)
            return true;
    }
}
