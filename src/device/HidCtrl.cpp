#include "device/HidCtrl.h"
#include "device/HidUtil.h"

HidCtrl::HidCtrl() = default;

HidCtrl::~HidCtrl()
{
    close();
}

void HidCtrl::clearInput()
{
    juce::zeromem (input, sizeof (input));
    inputLength = 0;
}

bool HidCtrl::open (HidHandler* newHandler, int deviceTypeIndex)
{
    handler = newHandler;
    util = new HidUtil();
    connected = Disconnected;
    firmwareVersion = 0;
    clearInput();

    if (! util->start (this, deviceTypeIndex))
    {
        close();
        return false;
    }

    connected = findDevice() ? Connected : Disconnected;

    if (connected != Disconnected)
    {
        firmwareVersion = readFirmwareVersion();
        inputLength = readInput (input, (int) sizeof (input));
    }

    return true;
}

void HidCtrl::close()
{
    handler = nullptr;

    if (util != nullptr)
    {
        util->stop();
        delete util;
        util = nullptr;
    }
}

bool HidCtrl::findDevice()
{
    return util != nullptr && util->findDevice();
}

int HidCtrl::readFirmwareVersion()
{
    return util != nullptr ? util->readFirmwareVersion() : 0;
}

int HidCtrl::readInput (juce::uint8* buffer, int length)
{
    if (buffer != nullptr && length > 0)
        juce::zeromem (buffer, (size_t) length);

    return util != nullptr ? util->readInput (buffer, length) : 0;
}

bool HidCtrl::write (const juce::uint8* data, int length)
{
    return util != nullptr && util->write (data, length);
}

bool HidCtrl::writeIfConnected (const juce::uint8* data, int length)
{
    // Compare-and-swap rather than load-then-store: a removal handled on the
    // message thread between the two must not be overwritten with WrittenTo.
    int seen = connected.load();

    for (;;)
    {
        if (seen == Disconnected)
            return false;

        if (connected.compare_exchange_weak (seen, WrittenTo))
            break;
    }

    return write (data, length);
}

//==============================================================================
void HidCtrl::deviceRemoved()
{
    if (connected == Connected)
        connected = findDevice() ? Connected : Disconnected;
    else if (connected == WrittenTo)
        connected = Disconnected;

    if (connected != Disconnected)
    {
        // Another controller of the same type took its place.
        firmwareVersion = readFirmwareVersion();
        inputLength = readInput (input, (int) sizeof (input));

        if (handler != nullptr)
            handler->deviceArrived();
    }
    else
    {
        firmwareVersion = 0;
        clearInput();

        if (handler != nullptr)
            handler->deviceRemoved();
    }
}

void HidCtrl::deviceArrived()
{
    connected = Connected;
    firmwareVersion = readFirmwareVersion();
    inputLength = readInput (input, (int) sizeof (input));

    if (handler != nullptr)
        handler->deviceArrived();
}

void HidCtrl::inputReceived()
{
    juce::uint8 scratch[256];
    const int n = juce::jlimit (0, (int) sizeof (scratch), readInput (scratch, (int) sizeof (scratch)));
    std::memcpy (input, scratch, (size_t) n);
    inputLength = n;

    if (handler != nullptr)
        handler->inputReceived();
}
