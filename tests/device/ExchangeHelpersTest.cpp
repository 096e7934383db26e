#include <gtest/gtest.h>

#include "DevSimProcess.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "device/Protocol.h"
#include "link/xModem.h"

using namespace nvx;
using namespace nvx::test;

namespace {

// The device's helpers on a link opened but not started: the test thread plays the link thread.
class Helpers : public ::testing::Test {
protected:
    void Open(std::vector<std::string> simArguments)
    {
        simArguments.insert(simArguments.begin(), {"--device", "panel", "--master-key", "1234"});
        sim = std::make_unique<DevSimProcess>(simArguments);
        link = std::make_unique<TModem>(LinkOptions{sim->portPath(), true, true, {}}, &device, &queue, LinkWindows{});
        ASSERT_TRUE(link->OpenPort());
        device.SetLink(link.get());
        std::string reason;
        ASSERT_TRUE(device.Authorise("1234", reason)) << reason;
        page.add("etValue", ControlKind::Edit);
        page.add("meValue", ControlKind::MaskEdit);
        page.add("lbValue", ControlKind::Label);
    }

    std::string Wire() { return sim->wireLog().substr(std::string("+id=1234\r").size()); }
    std::string Mark()
    {
        queue.Drain(targets);
        return page.get("lbValue").fontColor;
    }

    TOutArray queue;
    TDevVeltra device{queue};
    FormModel page{"formTest"};
    DrainTargets targets;
    std::unique_ptr<DevSimProcess> sim;
    std::unique_ptr<TModem> link;
};

}  // namespace

TEST_F(Helpers, ReadToEditFillsTheEditAndConfirms)
{
    Open({"--set", "on=0042"});
    std::string value;
    EXPECT_TRUE(device.ReadToEdit({&page, "etValue"}, "+on", {&page, "lbValue"}, value));
    EXPECT_EQ(value, "0042");
    EXPECT_EQ(Mark(), "clBlue");
    EXPECT_EQ(page.text("etValue"), "0042");
}

TEST_F(Helpers, ReadHexToEditShowsDecimalOrFails)
{
    Open({"--set", "hx=0FA", "--set", "bad=0GZ"});
    EXPECT_TRUE(device.ReadHexToEdit({&page, "etValue"}, "+hx", {&page, "lbValue"}));
    EXPECT_EQ(Mark(), "clBlue");
    EXPECT_EQ(page.text("etValue"), "250");
    EXPECT_FALSE(device.ReadHexToEdit({&page, "etValue"}, "+bad", {&page, "lbValue"}));
    EXPECT_EQ(Mark(), "clRed");
}

struct WriteCase {
    const char* text;
    bool hex;
    int width;
    const char* wire;
};

TEST_F(Helpers, WritesFormatTheEditAsTheCommandAsks)
{
    Open({});
    const WriteCase cases[] = {
        {"7", false, 4, "+on=0007\r"},
        {"abc", false, 0, "+on=abc\r"},
        {"26", true, 2, "+on=1A\r"},
        {"300", true, 2, "+on=12C\r"},
    };
    for (const WriteCase& c : cases) {
        page.setText("etValue", c.text);
        const std::string before = Wire();
        bool ok = c.hex ? device.WriteHexFromEdit({&page, "etValue"}, "+on=", c.width, {&page, "lbValue"})
                        : device.WriteFromEdit({&page, "etValue"}, "+on=", c.width, {&page, "lbValue"});
        EXPECT_TRUE(ok) << c.text;
        EXPECT_EQ(Wire().substr(before.size()), c.wire);
        EXPECT_EQ(Mark(), "clBlue");
    }
}

TEST_F(Helpers, MaskedEditWritesItsFirstDigits)
{
    Open({});
    page.setText("meValue", "  12 с");
    EXPECT_TRUE(device.WriteHexFromEdit({&page, "meValue"}, "+on=", 2, {&page, "lbValue"}));
    EXPECT_EQ(Wire(), "+on=0C\r");
}

TEST_F(Helpers, RefusedOrImpossibleWritesAreMarkedFailed)
{
    Open({"--reject", "+on"});
    page.setText("etValue", "7");
    EXPECT_FALSE(device.WriteFromEdit({&page, "etValue"}, "+on=", 4, {&page, "lbValue"}));
    EXPECT_EQ(Mark(), "clRed");
    page.setText("etValue", "seven");
    const std::string before = Wire();
    EXPECT_FALSE(device.WriteFromEdit({&page, "etValue"}, "+on=", 4, {&page, "lbValue"}));
    EXPECT_EQ(Mark(), "clRed");
    EXPECT_EQ(Wire(), before);  // nothing to send
}

TEST_F(Helpers, RejectedQueryYieldsErrAsAnAnsweredExchange)
{
    Open({"--reject", "+on"});
    std::string value;
    EXPECT_TRUE(device.ReadValue("+on", value));
    EXPECT_EQ(value, "ERR");
    EXPECT_EQ(Wire(), "+on\r");
}

TEST_F(Helpers, NothingIsSentWhileTheLinkStops)
{
    Open({"--set", "on=1"});
    link->Terminate();
    std::string value;
    page.setText("etValue", "1");
    EXPECT_FALSE(device.Exchange("+on", value, true, "OK", 1000, 3));
    EXPECT_FALSE(device.ReadValue("+on", value));
    EXPECT_FALSE(device.WriteValue("+on=1"));
    EXPECT_FALSE(device.ExchangeMarked("+on", {&page, "lbValue"}, value));
    EXPECT_FALSE(device.ReadToEdit({&page, "etValue"}, "+on", {&page, "lbValue"}, value));
    EXPECT_FALSE(device.WriteFromEdit({&page, "etValue"}, "+on=", 1, {&page, "lbValue"}));
    EXPECT_EQ(Wire(), "");
}

struct PayloadCase {
    const char* answer;
    const char* value;
};

TEST(Protocol, PayloadAndHexadecimalValues)
{
    const PayloadCase payloads[] = {
        {"\r14.10.45\r\nOK\r\n", "14.10.45"}, {"\rERR\r\n", "ERR"}, {"\r12", ""}, {"  5 OK", "5"}};
    for (const PayloadCase& c : payloads)
        EXPECT_EQ(Payload(c.answer), c.value) << c.answer;
    EXPECT_EQ(ReadHex("0FA"), 250u);
    EXPECT_EQ(ReadHex("0fa"), 250u);
    EXPECT_FALSE(ReadHex("0G1"));
    EXPECT_FALSE(ReadHex("-1"));
    EXPECT_FALSE(ReadHex(""));
}
