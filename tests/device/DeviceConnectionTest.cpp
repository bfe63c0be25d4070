#include <gtest/gtest.h>

#include "DeviceSupport.h"
#include "device/HidCtrl.h"
#include "device/HidUtil.h"

namespace emu = hidgate_emulator;
using devicetest::settle;

namespace
{
    struct DeviceConnection : ::testing::Test
    {
        void SetUp() override
        {
            emu::reset();
            emu::setAnswerDelay (0);
        }

        void TearDown() override
        {
            ctrl.close();
            settle();
            emu::reset();
            EXPECT_EQ (currentHidUtil, nullptr);
        }

        int openNumber() const { return ctrl.util != nullptr ? ctrl.util->deviceNumber.load() : -2; }

        HidCtrl ctrl;
        devicetest::RecordingHandler heard;
    };

    const juce::uint8 finishPoll[64] { 0xF2 };
}

TEST_F (DeviceConnection, OpenFindsTheControllerAndAsksItsVersionByTypeCode)
{
    // The controller gets a number other than its type code.
    emu::unplugAll();
    emu::plug (0, 1);
    const int controller = emu::plug (14, 105);
    ASSERT_NE (controller, 14);
    emu::injectInput (controller, { 0x55, 0x66 });

    ASSERT_TRUE (ctrl.open (&heard, 1));
    EXPECT_EQ (ctrl.connected, Connected);
    EXPECT_EQ (openNumber(), controller);
    EXPECT_EQ (ctrl.firmwareVersion, 105);
    EXPECT_EQ (emu::lastFirmwareVersionQuery(), 14);

    // Input waiting at the start is fetched and kept.
    EXPECT_EQ (ctrl.inputLength, 2);
    EXPECT_EQ (ctrl.input[0], 0x55);

    settle();
    EXPECT_EQ (heard.inputs, 0);   // queued before the library started: no message
}

TEST_F (DeviceConnection, WithAnInvalidPackageTypeZeroIsTheController)
{
    const int typeZero = emu::plug (0, 3);
    ASSERT_TRUE (ctrl.open (&heard, 0));
    EXPECT_EQ (ctrl.connected, Connected);
    EXPECT_EQ (openNumber(), typeZero);
    EXPECT_EQ (emu::lastFirmwareVersionQuery(), 0);
    EXPECT_EQ (ctrl.firmwareVersion, 3);
}

TEST_F (DeviceConnection, NoControllerThenOneArrives)
{
    emu::unplugAll();
    ASSERT_TRUE (ctrl.open (&heard, 1));
    EXPECT_EQ (ctrl.connected, Disconnected);
    EXPECT_EQ (ctrl.firmwareVersion, 0);

    // A device of another type arriving does not count.
    emu::plug (7, 300);
    settle();
    EXPECT_EQ (heard.arrived, 0);

    const int controller = emu::plug (14, 107);
    settle();
    EXPECT_EQ (heard.arrived, 1);
    EXPECT_EQ (ctrl.connected, Connected);
    EXPECT_EQ (ctrl.firmwareVersion, 107);
    EXPECT_EQ (openNumber(), controller);

    emu::unplug (controller);
    settle();
    EXPECT_EQ (heard.removed, 1);
    EXPECT_EQ (ctrl.connected, Disconnected);
    EXPECT_EQ (ctrl.firmwareVersion, 0);
}

TEST_F (DeviceConnection, RemovingTheFirstOfTwoControllers)
{
    struct Case { bool writtenBefore; int arrived, removed; ConnectionState after; int firmware; bool secondOpen; };
    const Case cases[] {
        { false, 1, 0, Connected,    106, true },    // the second takes over; heard as an arrival
        { true,  0, 1, Disconnected, 0,   false },   // after a write: removed, no new search
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.writtenBefore ? "written to" : "not written to");
        emu::reset();
        emu::setAnswerDelay (0);
        heard = {};
        const int second = emu::plug (14, 106);

        ASSERT_TRUE (ctrl.open (&heard, 1));
        EXPECT_EQ (openNumber(), 1);

        if (c.writtenBefore)
        {
            EXPECT_TRUE (ctrl.writeIfConnected (finishPoll, 64));
            EXPECT_EQ (ctrl.connected, WrittenTo);
            settle();
        }

        heard = {};
        emu::unplug (1);
        settle();

        EXPECT_EQ (heard.arrived, c.arrived);
        EXPECT_EQ (heard.removed, c.removed);
        EXPECT_EQ (ctrl.connected, c.after);
        EXPECT_EQ (ctrl.firmwareVersion, c.firmware);
        EXPECT_EQ (openNumber(), c.secondOpen ? second : -1);

        if (! c.secondOpen)
        {
            EXPECT_EQ (ctrl.inputLength, 0);
            EXPECT_FALSE (ctrl.writeIfConnected (finishPoll, 64));
        }

        ctrl.close();
        settle();
    }
}

TEST_F (DeviceConnection, MessagesAboutOtherDevicesAreDropped)
{
    const int other = emu::plug (14, 106);
    ASSERT_TRUE (ctrl.open (&heard, 1));
    ASSERT_EQ (openNumber(), 1);

    emu::injectInput (other, { 1, 2, 3 });
    emu::unplug (other);
    emu::plug (14, 108);     // arrival while a controller is open
    settle();

    EXPECT_EQ (heard.inputs, 0);
    EXPECT_EQ (heard.removed, 0);
    EXPECT_EQ (heard.arrived, 0);
    EXPECT_EQ (openNumber(), 1);
    EXPECT_EQ (ctrl.firmwareVersion, 105);

    // Input for the open one is taken; bytes past it keep their old values.
    emu::injectInput (1, { 9, 8, 7, 6 });
    settle();
    emu::injectInput (1, { 5 });
    settle();
    EXPECT_EQ (heard.inputs, 2);
    EXPECT_EQ (ctrl.inputLength, 1);
    EXPECT_EQ (ctrl.input[0], 5);
    EXPECT_EQ (ctrl.input[1], 8);
}

TEST_F (DeviceConnection, WritesOnlyWhileConnectedAndTheAnswerComesBackAsInput)
{
    emu::unplugAll();
    ASSERT_TRUE (ctrl.open (&heard, 1));
    EXPECT_FALSE (ctrl.writeIfConnected (finishPoll, 64));
    EXPECT_EQ (ctrl.connected, Disconnected);
    EXPECT_EQ (emu::reportsWritten(), 0);

    emu::plug();
    settle();
    ASSERT_EQ (ctrl.connected, Connected);

    EXPECT_TRUE (ctrl.writeIfConnected (finishPoll, 64));
    EXPECT_EQ (ctrl.connected, WrittenTo);
    EXPECT_EQ (emu::reportsWritten(), 1);

    settle();
    EXPECT_EQ (heard.inputs, 1);
    EXPECT_EQ (ctrl.inputLength, 64);
    EXPECT_EQ (ctrl.input[0], emu::refusedCode);   // a finish poll before any start

    // Null data or no length sends nothing.
    EXPECT_FALSE (ctrl.writeIfConnected (nullptr, 64));
    EXPECT_FALSE (ctrl.write (finishPoll, 0));
    EXPECT_EQ (emu::reportsWritten(), 1);
}

TEST_F (DeviceConnection, ASecondConnectionCannotStartAndLeavesTheFirstAlone)
{
    ASSERT_TRUE (ctrl.open (&heard, 1));

    {
        devicetest::RecordingHandler otherHeard;
        HidCtrl other;
        EXPECT_FALSE (other.open (&otherHeard, 1));
        EXPECT_EQ (other.connected, Disconnected);
        EXPECT_EQ (other.util, nullptr);
    }

    // The failed one went away without unregistering the first.
    EXPECT_EQ (currentHidUtil, ctrl.util);
    emu::injectInput (1, { 0x42 });
    settle();
    EXPECT_EQ (heard.inputs, 1);
    EXPECT_EQ (ctrl.input[0], 0x42);
}

TEST_F (DeviceConnection, CloseStopsNotificationsAndCanBeRepeated)
{
    ASSERT_TRUE (ctrl.open (&heard, 1));
    emu::injectInput (1, { 1 });   // queued, not yet handled
    ctrl.close();
    ctrl.close();
    emu::unplug (1);
    settle();

    EXPECT_EQ (heard.inputs, 0);
    EXPECT_EQ (heard.removed, 0);
    EXPECT_EQ (ctrl.util, nullptr);
    EXPECT_EQ (ctrl.handler, nullptr);
    EXPECT_EQ (currentHidUtil, nullptr);

    // And opens again.
    emu::plug();
    ASSERT_TRUE (ctrl.open (&heard, 1));
    EXPECT_EQ (ctrl.connected, Connected);
}
