// The GSM modem in front of the device: the AT dialogue, dialling into a data call that reaches the
// device, the "+++" escape (and what is not one), hanging up by ATH or by closing the port.
#include "EmulatedDevice.h"

#include <gtest/gtest.h>

#include <iostream>
#include <thread>

namespace nvx::test {
namespace {

using std::chrono::milliseconds;

const std::string kSimReady = "\r\n+CPIN: READY\r\n";

std::string AskModem(EmulatedDevice& line, const std::string& command)
{
    line.port.send(command + "\r");
    return line.port.receiveUntilAny({"OK\r\n", "ERROR\r\n"}, kAnswerTimeout);
}

// Starts a modem-fronted device whose SIM notice has already arrived, so it cannot cut into answers.
struct ModemLine : EmulatedDevice {
    explicit ModemLine(std::vector<std::string> options)
        : EmulatedDevice([&] {
              options.insert(options.end(), {"--modem", "--cpin-ms", "0", "--dial-ms", "20"});
              return options;
          }())
    {
        EXPECT_EQ(port.receiveUntil(kSimReady, kAnswerTimeout), kSimReady);
    }

    void dial()
    {
        port.send("ATD 5551234\r");
        ASSERT_EQ(port.receiveUntil("CONNECT 9600\r\n", kAnswerTimeout), "ATD 5551234\r\r\nCONNECT 9600\r\n");
    }
};

TEST(DevSimModem, SendsSimReadyAfterThePortOpens)
{
    const auto start = std::chrono::steady_clock::now();
    EmulatedDevice line({"--modem"});
    EXPECT_EQ(line.port.receiveUntil(kSimReady, kAnswerTimeout), kSimReady);
    const auto took = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    std::cout << "[ figure   ] +CPIN: READY " << took.count() << " ms after start (nominal 700 ms)\n";
    EXPECT_GE(took, milliseconds(600));
}

TEST(DevSimModem, WalksTheDialogueIntoADataCallAndOut)
{
    ModemLine line({"--device", "panel"});
    EXPECT_EQ(AskModem(line, "AT"), "AT\r\r\nOK\r\n");
    EXPECT_EQ(AskModem(line, "ATZ"), "ATZ\r\r\nOK\r\n");
    EXPECT_EQ(AskModem(line, "AT+CBST=7,0,1"), "AT+CBST=7,0,1\r\r\nOK\r\n");
    EXPECT_EQ(AskModem(line, "AT+CREG?"), "AT+CREG?\r\r\n+CREG: 0,1\r\n\r\nOK\r\n");
    EXPECT_EQ(AskModem(line, "AT+GMR"), "AT+GMR\r\r\nSIM900 R11.0\r\n\r\nOK\r\n");
    EXPECT_EQ(AskModem(line, "AT+FOO"), "AT+FOO\r\r\nERROR\r\n");
    line.dial();
    // Device commands start with "+" too and pass through the call.
    EXPECT_EQ(line.ask("+v"), "+v\r14.10.45\r\nOK\r\n");
    EXPECT_EQ(line.ask("+id=1234"), "+id=1234\rOK\r\n");
    EXPECT_EQ(line.ask("+++"), "+++\rERR\r\n"); // followed by CR at once: a device line, not the escape

    std::this_thread::sleep_for(milliseconds(400));
    line.port.send("+++");
    EXPECT_EQ(line.port.receiveUntil("\r\nOK\r\n", kAnswerTimeout), "\r\nOK\r\n");
    EXPECT_EQ(AskModem(line, "ATH"), "ATH\r\r\nOK\r\n");
    // Without a call the modem only echoes what is no AT command.
    line.port.send("+v\r");
    EXPECT_EQ(ReceiveThenSilence(line.port, "+v\r"), "+v\r");
}

TEST(DevSimModem, AcceptsEveryDialForm)
{
    for (const char* command : {"ATD5551234", "ATD 5551234", "ATDP5551234", "ATDP 5551234", "ATDT 5551234"}) {
        SCOPED_TRACE(command);
        ModemLine line({});
        line.port.send(std::string(command) + "\r");
        EXPECT_EQ(line.port.receiveUntil("CONNECT 9600\r\n", kAnswerTimeout),
                  std::string(command) + "\r\r\nCONNECT 9600\r\n");
        EXPECT_EQ(line.ask("+v"), "+v\r14.3.40\r\nOK\r\n");
    }
}

TEST(DevSimModem, DialFailuresLeaveTheDeviceUnreachable)
{
    struct Case {
        const char* option;
        const char* afterEcho; // what follows the dial command's echo
    };
    for (const Case& c : {Case{"--busy", "\r\nBUSY\r\n"}, Case{"--no-dial-answer", ""}}) {
        SCOPED_TRACE(c.option);
        ModemLine line({c.option});
        line.port.send("ATD 5551234\r");
        const std::string expected = std::string("ATD 5551234\r") + c.afterEcho;
        EXPECT_EQ(ReceiveThenSilence(line.port, expected), expected);
    }
    // A character typed while the dial still rings aborts it.
    ModemLine ringing({"--no-dial-answer"});
    ringing.port.send("ATD 5551234\r");
    ASSERT_EQ(ringing.port.receiveUntil("\r", kAnswerTimeout), "ATD 5551234\r");
    ringing.port.send("A");
    EXPECT_EQ(ReceiveThenSilence(ringing.port, "\r\nNO CARRIER\r\n"), "\r\nNO CARRIER\r\n");
}

TEST(DevSimModem, ReportsTheRegistrationItIsGiven)
{
    ModemLine line({"--creg", "0,5", "--gmr", "M10 R1"});
    EXPECT_EQ(AskModem(line, "AT+CREG?"), "AT+CREG?\r\r\n+CREG: 0,5\r\n\r\nOK\r\n");
    EXPECT_EQ(AskModem(line, "AT+GMR"), "AT+GMR\r\r\nM10 R1\r\n\r\nOK\r\n");
}

TEST(DevSimModem, FaultSwitchesApplyToModemCommandsToo)
{
    // An unanswered AT+CBST is what sends a dialler into its registration wait.
    ModemLine line({"--no-answer", "AT+CBST", "--reject", "AT+CREG?"});
    line.port.send("AT+CBST=7,0,1\r");
    EXPECT_EQ(ReceiveThenSilence(line.port, ""), "");
    EXPECT_EQ(AskModem(line, "AT+CREG?"), "AT+CREG?\r\r\nERROR\r\n");
    EXPECT_EQ(AskModem(line, "AT"), "AT\r\r\nOK\r\n");
}

// The three "+" 100 ms apart and ATH 100 ms after the last one: with a short guard time that is the
// escape; with the default guard ATH follows too soon and everything goes to the device as one line.
TEST(DevSimModem, EscapeNeedsSilenceAfterThePluses)
{
    struct Case {
        std::vector<std::string> options;
        const char* answer;
    };
    const Case cases[] = {
        {{"--escape-guard-ms", "50"}, "\r\nOK\r\nATH\r\r\nOK\r\n"},
        {{}, "+++ATH\rERR\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        ModemLine line(c.options);
        line.dial();
        std::this_thread::sleep_for(milliseconds(400));
        for (int plus = 0; plus < 3; ++plus) {
            line.port.send("+");
            std::this_thread::sleep_for(milliseconds(100));
        }
        line.port.send("ATH\r");
        EXPECT_EQ(line.port.receiveUntilAny({"OK\r\nATH\r\r\nOK\r\n", "ERR\r\n"}, kAnswerTimeout), c.answer);
    }
}

TEST(DevSimModem, ClosingThePortHangsUp)
{
    ModemLine line({});
    line.dial();
    ASSERT_EQ(line.ask("+v"), "+v\r14.3.40\r\nOK\r\n");
    line.port.close();
    ASSERT_TRUE(line.process.awaitTrace("port closed", 1, kAnswerTimeout));

    PtyPort again(line.process.portPath());
    EXPECT_EQ(again.receiveUntil(kSimReady, kAnswerTimeout), kSimReady);
    again.send("+v\r");
    EXPECT_EQ(ReceiveThenSilence(again, "+v\r"), "+v\r");
    again.send("AT\r");
    EXPECT_EQ(again.receiveUntil("OK\r\n", kAnswerTimeout), "AT\r\r\nOK\r\n");
}

} // namespace
} // namespace nvx::test
