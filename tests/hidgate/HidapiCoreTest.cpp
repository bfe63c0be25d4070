#include <gtest/gtest.h>

#include "Core.h"
#include "Identity.h"
#include "SinkRecorder.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <map>

using namespace hidgate_hidapi;

namespace
{
    // hidapi as the library sees it, with devices a test attaches, detaches
    // and feeds with input.
    class FakeHidapi final : public Backend
    {
    public:
        struct Node
        {
            DeviceInfo info;
            bool refuseOpen = false;
            bool broken = false;                       // reads fail
            bool echo = false;                         // every write comes back as input
            std::deque<std::vector<std::uint8_t>> input;
            std::vector<std::vector<std::uint8_t>> written;
            int openHandles = 0;
        };

        void attach (const std::string& path, std::uint16_t vid, std::uint16_t pid, std::uint16_t release)
        {
            std::lock_guard<std::mutex> l (lock);
            nodes[path].info = { path, vid, pid, release };
            present[path] = true;
        }

        void detach (const std::string& path)
        {
            std::lock_guard<std::mutex> l (lock);
            present[path] = false;
            nodes[path].broken = true;   // as hidraw does once the node is gone
        }

        template <typename Fn>
        void with (const std::string& path, Fn&& fn)
        {
            {
                std::lock_guard<std::mutex> l (lock);
                fn (nodes[path]);
            }
            changed.notify_all();
        }

        int totalOpenHandles()
        {
            std::lock_guard<std::mutex> l (lock);
            int n = 0;
            for (auto& [path, node] : nodes)
                n += node.openHandles;
            return n;
        }

        int init() override { return 0; }
        void exit() override {}

        std::vector<DeviceInfo> enumerate() override
        {
            std::lock_guard<std::mutex> l (lock);
            std::vector<DeviceInfo> list;
            for (auto& [path, node] : nodes)
                if (present[path])
                    list.push_back (node.info);
            return list;
        }

        Handle open (const std::string& path) override
        {
            std::lock_guard<std::mutex> l (lock);
            auto it = nodes.find (path);
            if (it == nodes.end() || ! present[path] || it->second.refuseOpen)
                return nullptr;
            it->second.broken = false;
            ++it->second.openHandles;
            return &it->second;
        }

        void close (Handle h) override
        {
            std::lock_guard<std::mutex> l (lock);
            --static_cast<Node*> (h)->openHandles;
        }

        int write (Handle h, const std::uint8_t* data, std::size_t length) override
        {
            std::lock_guard<std::mutex> l (lock);
            auto* node = static_cast<Node*> (h);
            node->written.emplace_back (data, data + length);
            if (node->echo)
                node->input.emplace_back (data + 1, data + length);
            changed.notify_all();
            return (int) length;
        }

        int read (Handle h, std::uint8_t* data, std::size_t length, int timeoutMs) override
        {
            std::unique_lock<std::mutex> l (lock);
            auto* node = static_cast<Node*> (h);
            changed.wait_for (l, std::chrono::milliseconds (timeoutMs), [&] { return node->broken || ! node->input.empty(); });
            if (node->broken)
                return -1;
            if (node->input.empty())
                return 0;
            const auto report = node->input.front();
            node->input.pop_front();
            const size_t n = std::min (length, report.size());
            std::copy (report.begin(), report.begin() + (long) n, data);
            return (int) n;
        }

    private:
        std::mutex lock;
        std::condition_variable changed;
        std::map<std::string, Node> nodes;
        std::map<std::string, bool> present;
    };

    constexpr auto manualOnly = std::chrono::hours (1);   // the test drives every pass

    struct HidapiLogic : ::testing::Test
    {
        void startCore (std::chrono::milliseconds interval = manualOnly)
        {
            core = std::make_unique<Core> (fake, interval);
            core->initialize();
            core->setCallback (sink.window(), testInput, testArrival, testRemoval);
            core->start();
        }

        void TearDown() override
        {
            if (core != nullptr)
            {
                core->stop();
                core->setCallback (nullptr, 0, 0, 0);
                core->finalize();
                core.reset();
            }
            EXPECT_EQ (fake.totalOpenHandles(), 0);
        }

        std::vector<int> listed()
        {
            int numbers[HIDGATE_MAX_DEVICES] {};
            const int n = core->enumerate (numbers);
            return std::vector<int> (numbers, numbers + std::max (0, n));
        }

        FakeHidapi fake;
        SinkRecorder sink;
        std::unique_ptr<Core> core;
    };
}

TEST (HidapiIdentity, KnowsTheUpdateModeControllerOnly)
{
    EXPECT_EQ (typeOf (kmxVendorId, kmxQ7UpdateProductId), 14);
    EXPECT_EQ (typeOf (kmxVendorId, (std::uint16_t) (kmxQ7UpdateProductId + 1)), -1);
    EXPECT_EQ (typeOf ((std::uint16_t) (kmxVendorId + 1), kmxQ7UpdateProductId), -1);
}

TEST (HidapiIdentity, ReleaseNumberIsBcdMajorMinor)
{
    const std::pair<std::uint16_t, int> cases[] {
        { 0x0105, 105 }, { 0x0100, 100 }, { 0x0210, 210 }, { 0x0099, 99 }, { 0x1234, 1234 }, { 0x0000, 0 } };

    for (const auto& [release, version] : cases)
        EXPECT_EQ (versionFromRelease (release), version) << std::hex << release;
}

TEST_F (HidapiLogic, ListsOnlyKnownDevicesWithTheirTypeAndVersion)
{
    fake.attach ("/dev/hidraw0", 0x046D, 0xC077, 0x0105);                        // somebody's mouse
    fake.attach ("/dev/hidraw1", kmxVendorId, kmxQ7UpdateProductId, 0x0107);
    fake.attach ("/dev/hidraw2", kmxVendorId, 0x0001, 0x0105);                    // same maker, unknown model
    startCore();

    const auto numbers = listed();
    ASSERT_EQ (numbers.size(), 1u);
    EXPECT_EQ (core->deviceType (numbers[0]), 14);
    EXPECT_EQ (core->deviceType (numbers[0] + 1), -1);

    int version[2] = { 0, 0 };
    EXPECT_EQ (core->firmwareVersion (14, version), 1);
    EXPECT_EQ (version[0], 107);

    int none[2] = { 0, 0 };
    EXPECT_EQ (core->firmwareVersion (0, none), 0);
    EXPECT_EQ (none[0], 0);

    // Present at the start: listed, not announced.
    EXPECT_EQ (sink.count(), 0u);
}

TEST_F (HidapiLogic, NumbersStayWhileAttachedAndAreNotReused)
{
    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    fake.attach ("b", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    startCore();
    EXPECT_EQ (listed(), (std::vector<int> { 1, 2 }));

    fake.detach ("a");
    core->refresh();
    EXPECT_EQ (listed(), (std::vector<int> { 2 }));

    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    core->refresh();
    EXPECT_EQ (listed(), (std::vector<int> { 2, 3 }));

    const auto posted = sink.all();
    ASSERT_EQ (posted.size(), 2u);
    EXPECT_EQ (posted[0].message, testRemoval);  EXPECT_EQ (posted[0].deviceNumber, 1);
    EXPECT_EQ (posted[1].message, testArrival);  EXPECT_EQ (posted[1].deviceNumber, 3);
}

TEST_F (HidapiLogic, ADeviceThatCannotBeOpenedYetArrivesOnALaterPass)
{
    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    fake.with ("a", [] (auto& n) { n.refuseOpen = true; });
    startCore();
    EXPECT_TRUE (listed().empty());

    fake.with ("a", [] (auto& n) { n.refuseOpen = false; });
    core->refresh();
    EXPECT_EQ (listed(), (std::vector<int> { 1 }));
    EXPECT_EQ (sink.countOf (testArrival), 1u);
}

TEST_F (HidapiLogic, WritesGoOutAsReportIdZeroAndSixtyFourBytes)
{
    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    startCore();

    std::vector<std::uint8_t> full (64);
    for (size_t i = 0; i < full.size(); ++i)
        full[i] = (std::uint8_t) (0xF0 + i);

    EXPECT_EQ (core->write (1, full.data(), 64), 1);
    EXPECT_EQ (core->write (1, full.data(), 3), 1);
    EXPECT_EQ (core->write (1, full.data(), 65), 0);
    EXPECT_EQ (core->write (1, nullptr, 64), 0);
    EXPECT_EQ (core->write (2, full.data(), 64), 0);

    std::vector<std::vector<std::uint8_t>> written;
    fake.with ("a", [&] (auto& n) { written = n.written; });
    ASSERT_EQ (written.size(), 2u);

    std::vector<std::uint8_t> expectedFull { 0 };
    expectedFull.insert (expectedFull.end(), full.begin(), full.end());
    EXPECT_EQ (written[0], expectedFull);

    std::vector<std::uint8_t> expectedShort (65, 0);
    std::copy (full.begin(), full.begin() + 3, expectedShort.begin() + 1);
    EXPECT_EQ (written[1], expectedShort);
}

TEST_F (HidapiLogic, InputIsQueuedOneMessagePerReportOldestFirst)
{
    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    startCore();

    fake.with ("a", [] (auto& n)
    {
        for (std::uint8_t i = 1; i <= 3; ++i)
            n.input.push_back (std::vector<std::uint8_t> (64, i));
    });

    ASSERT_TRUE (sink.waitFor (3));
    EXPECT_EQ (sink.countOf (testInput), 3u);

    for (std::uint8_t i = 1; i <= 3; ++i)
    {
        unsigned char buffer[256] {};
        int length = 256;
        core->input (1, buffer, &length);
        ASSERT_EQ (length, 64);
        EXPECT_EQ (buffer[0], i);
        EXPECT_EQ (buffer[63], i);
    }

    unsigned char buffer[256];
    int length = 256;
    core->input (1, buffer, &length);
    EXPECT_EQ (length, 0);

    // A shorter buffer takes the front of the report.
    fake.with ("a", [] (auto& n) { n.input.push_back (std::vector<std::uint8_t> (64, 9)); });
    ASSERT_TRUE (sink.waitFor (4));
    length = 10;
    core->input (1, buffer, &length);
    EXPECT_EQ (length, 10);
}

TEST_F (HidapiLogic, RemovalAndArrivalAreFoundWithoutAnyCall)
{
    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    startCore (std::chrono::milliseconds (5));

    fake.detach ("a");
    ASSERT_TRUE (sink.waitFor (1));
    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0106);
    ASSERT_TRUE (sink.waitFor (2));

    const auto posted = sink.all();
    EXPECT_EQ (posted[0].message, testRemoval);  EXPECT_EQ (posted[0].deviceNumber, 1);
    EXPECT_EQ (posted[1].message, testArrival);  EXPECT_EQ (posted[1].deviceNumber, 2);

    int version[2] = { 0, 0 };
    core->firmwareVersion (14, version);
    EXPECT_EQ (version[0], 106);
}

TEST_F (HidapiLogic, FailedReadsDropTheDeviceAndItComesBackAsNew)
{
    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    startCore (std::chrono::milliseconds (5));

    fake.with ("a", [] (auto& n) { n.broken = true; });   // still listed by hidapi
    ASSERT_TRUE (sink.waitFor (2));

    const auto posted = sink.all();
    EXPECT_EQ (posted[0].message, testRemoval);
    EXPECT_EQ (posted[1].message, testArrival);
    EXPECT_EQ (posted[1].deviceNumber, 2);
}

TEST_F (HidapiLogic, WritesFromOneThreadWhileInputIsTakenOnAnother)
{
    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    fake.with ("a", [] (auto& n) { n.echo = true; });
    startCore();

    constexpr int reports = 300;
    std::thread writer ([&]
    {
        std::uint8_t r[64] {};
        for (int i = 0; i < reports; ++i)
        {
            r[0] = (std::uint8_t) i;
            r[1] = (std::uint8_t) (i >> 8);
            EXPECT_EQ (core->write (1, r, 64), 1);
        }
    });

    std::vector<int> seen;
    while ((int) seen.size() < reports && sink.waitFor (seen.size() + 1))
    {
        unsigned char buffer[256];
        int length = 256;
        core->input (1, buffer, &length);
        if (length > 0)
            seen.push_back (buffer[0] | (buffer[1] << 8));
    }

    writer.join();
    ASSERT_EQ ((int) seen.size(), reports);
    for (int i = 0; i < reports; ++i)
        ASSERT_EQ (seen[(size_t) i], i);
}

TEST_F (HidapiLogic, StopClosesEveryDeviceAndPostsNothingMore)
{
    fake.attach ("a", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    fake.attach ("b", kmxVendorId, kmxQ7UpdateProductId, 0x0105);
    startCore (std::chrono::milliseconds (5));
    EXPECT_EQ (fake.totalOpenHandles(), 2);

    core->stop();
    core->setCallback (nullptr, 0, 0, 0);
    EXPECT_EQ (fake.totalOpenHandles(), 0);

    fake.with ("a", [] (auto& n) { n.input.push_back ({ 1 }); });
    fake.detach ("b");
    EXPECT_EQ (sink.count(), 0u);
}
