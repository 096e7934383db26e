#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "DevSimProcess.h"
#include "DeviceHarness.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace {

constexpr int kFields = 12;

std::string Key(int i) { return "k" + std::to_string(i); }
std::string Value(int i) { return std::to_string(1000 + i * 7); }

// A settings page of twelve values read one by one, as the panel pages do.
class CountersPage : public IDevicePage {
public:
    CountersPage()
    {
        for (int i = 1; i <= kFields; ++i) {
            form.add("et" + Key(i), ControlKind::Edit);
            form.add("lb" + Key(i), ControlKind::Label);
        }
    }
    int PageId() const override { return 16; }
    FormModel& Form() override { return form; }
    void ReadFromDevice(TDevVeltra& device) override
    {
        for (int i = 1; i <= kFields && !device.abortState; ++i) {
            std::string value;
            ControlRef mark{&form, "lb" + Key(i)};
            if (device.ExchangeMarked("+" + Key(i), mark, value) && value != "ERR")
                device.Queue().PostText({&form, "et" + Key(i)}, value);
            else
                device.MarkFailed(mark);
        }
    }
    void WriteToDevice(TDevVeltra&) override {}

    FormModel form{"formCounters"};
};

std::vector<std::string> PresetArguments(std::vector<std::string> arguments)
{
    for (int i = 1; i <= kFields; ++i) {
        arguments.push_back("--set");
        arguments.push_back(Key(i) + "=" + Value(i));
    }
    return arguments;
}

bool ReadPage(DeviceHarness& h)
{
    h.link->SetJob(3);
    return h.ServeUntil([&] { return h.link->Job() == 0 || h.link->Finished(); }, 60s) && !h.link->Finished();
}

// The alarm zone of a generated event record carries the emulator's sequence number (mod 1000).
int SequenceOf(const std::string& event)
{
    std::size_t message = event.find("123418");
    if (message == std::string::npos || message + 15 > event.size())
        return -1;
    return std::stoi(event.substr(message + 12, 3));
}

}  // namespace

class EventTraffic : public ::testing::TestWithParam<bool> {};

// Between answers, and (the second run) cutting into the device's own lines anywhere.
INSTANTIATE_TEST_SUITE_P(BetweenAnswersAndAnywhere, EventTraffic, ::testing::Bool());

TEST_P(EventTraffic, EventsArrivingAmidPageReadsReachTheDecoderOnceAndWhole)
{
    std::vector<std::string> arguments{"--device", "panel", "--version", "14.10.29", "--paced",
                                       "--events-every-ms", "40", "--seed", "7"};
    if (GetParam())
        arguments.push_back("--events-anywhere");
    DevSimProcess sim(PresetArguments(arguments));
    DeviceHarness h;
    CountersPage page;
    h.device.Pages().Register(page);
    h.device.currentPage = &page;
    ASSERT_TRUE(h.Connect(sim.portPath()));

    int reads = 0;
    auto until = std::chrono::steady_clock::now() + 8s;
    while (std::chrono::steady_clock::now() < until) {
        for (int i = 1; i <= kFields; ++i)
            page.form.setText("et" + Key(i), "");
        ASSERT_TRUE(ReadPage(h));
        h.Tick();
        ++reads;
        for (int i = 1; i <= kFields; ++i) {
            EXPECT_EQ(page.form.text("et" + Key(i)), Value(i)) << "read " << reads << " field " << i;
            EXPECT_EQ(page.form.get("lb" + Key(i)).fontColor, "clBlue");
        }
    }
    h.ServeUntil([] { return false; }, 1500ms);  // idle passes collect what is still on the line
    h.Stop();

    std::lock_guard lock(h.eventsMutex);
    ASSERT_GT(h.events.size(), 150u);
    // Exactly once each: with events cutting in anywhere the emulator may put a later event on
    // the wire before an earlier one still queued, so the order is not checked.
    std::vector<int> sequences;
    for (const std::string& event : h.events) {
        std::size_t split = event.find("\r\n");
        ASSERT_NE(split, std::string::npos) << event;
        EXPECT_EQ(split, 39u) << "payload cut short: " << event;
        const std::string signal = event.substr(split + 2);
        EXPECT_TRUE(signal.size() >= 2 && signal[0] == '-') << "signal lost: " << event;
        sequences.push_back(SequenceOf(event));
    }
    std::sort(sequences.begin(), sequences.end());
    for (std::size_t i = 0; i < sequences.size(); ++i)
        EXPECT_EQ(sequences[i], sequences.front() + static_cast<int>(i)) << "event lost or repeated";
    EXPECT_GE(reads, 3);
}

TEST(EventPageRead, PageWithOneRejectedQueryEndsInWireTimeAndMarksOnlyThatField)
{
    DevSimProcess sim(PresetArguments({"--device", "panel", "--version", "14.10.29", "--paced", "--reject", "+k3"}));
    DeviceHarness h;
    CountersPage page;
    h.device.Pages().Register(page);
    h.device.currentPage = &page;
    ASSERT_TRUE(h.Connect(sim.portPath()));

    const std::size_t wireBefore = sim.wireLog().size();
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(ReadPage(h));
    auto elapsed = std::chrono::steady_clock::now() - start;
    h.Tick();

    // The line's own time for the bytes both ways: commands, their echoes and the answers.
    const std::size_t sent = sim.wireLog().size() - wireBefore;
    const double lineSeconds = (2.0 * sent + kFields * 12.0) * 11.0 / 19200.0;
    EXPECT_LT(std::chrono::duration<double>(elapsed).count(), lineSeconds + 1.0);
    for (int i = 1; i <= kFields; ++i) {
        if (i == 3) {
            EXPECT_EQ(page.form.get("lbk3").fontColor, "clRed");
            EXPECT_EQ(page.form.text("etk3"), "");
        } else {
            EXPECT_EQ(page.form.text("et" + Key(i)), Value(i));
        }
    }
    EXPECT_EQ(sim.wireLog().substr(wireBefore).find("+k3\r+k3\r"), std::string::npos) << "rejected query repeated";
}
