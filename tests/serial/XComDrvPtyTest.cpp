// The serial component over real pseudo-terminals: the component opens the slave, the test plays the far
// end on the master and reads the slave's termios through it (termios ioctls on a master act on its slave).
#include "core/Clock.h"
#include "serial/XComDrv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace nvx {
namespace {

class Pty {
public:
    Pty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slavePath_ = ::ptsname(master_);
    }
    ~Pty() { CloseMaster(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& SlavePath() const { return slavePath_; }

    void CloseMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    termios SlaveTermios() const
    {
        termios t{};
        EXPECT_EQ(::tcgetattr(master_, &t), 0);
        return t;
    }

    void Write(const std::string& bytes) const
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Everything the slave has written, collected until the line stays quiet for quietMs.
    std::string ReadAll(int quietMs = 100) const
    {
        std::string all;
        char chunk[4096];
        pollfd p{master_, POLLIN, 0};
        while (::poll(&p, 1, quietMs) > 0 && (p.revents & POLLIN)) {
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0)
                break;
            all.append(chunk, static_cast<std::size_t>(n));
        }
        return all;
    }

private:
    int master_ = -1;
    std::string slavePath_;
};

// Expects `call` to raise EDeviceError with `code`; returns its message.
std::string ExpectDeviceError(std::int32_t code, const std::function<void()>& call)
{
    try {
        call();
    } catch (const EDeviceError& error) {
        EXPECT_EQ(error.ErrorCode(), code) << error.what();
        return error.what();
    }
    ADD_FAILURE() << "no EDeviceError " << code;
    return {};
}

std::string AllByteValues()
{
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

class XComDrvPty : public ::testing::Test {
protected:
    // The link's cable settings: 19200 8N2, no flow control, 6 s time-outs.
    void SetUp() override
    {
        comm.SetDeviceName(pty.SlavePath());
        comm.Buffers().SetInputTimeout(6000);
        comm.Buffers().SetOutputTimeout(6000);
        comm.SetBaudRate(br19200);
        comm.SetBaudValue(19200);
        comm.DataControl().SetParity(paNone);
        comm.DataControl().SetStopBits(sb2);
        comm.SetFlowControl(fcNone);
    }

    // What the component receives within timeoutMs, gathered with WaitReadable/ReceiveString.
    std::string ReceiveFor(std::size_t expected, std::uint32_t timeoutMs = 2000)
    {
        std::string all;
        const std::uint32_t start = NowMilliseconds();
        while (all.size() < expected && ElapsedSince(start) < timeoutMs) {
            if (!comm.WaitReadable(50))
                continue;
            std::string part;
            EXPECT_TRUE(comm.ReceiveString(part));
            all += part;
        }
        return all;
    }

    Pty pty;
    TXComm comm;
};

TEST_F(XComDrvPty, LinkSettingsReachTheDriver)
{
    ASSERT_TRUE(comm.Open());
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_EQ(comm.LockState(), 0);
    const termios t = pty.SlaveTermios();
    EXPECT_EQ(::cfgetospeed(&t), B19200);
    EXPECT_EQ(::cfgetispeed(&t), B19200);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP | INPCK));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
    EXPECT_EQ(comm.BaudRate(), br19200);
    EXPECT_EQ(comm.BaudValue(), 19200u);
    EXPECT_EQ(comm.DataControl().StopBits(), sb2);
}

// A pty forces CS8 without parity, so the rows keep to what it can carry (see the refused formats below).
TEST_F(XComDrvPty, LineSettingsMapToTermios)
{
    struct Row {
        TBaudRate rate;
        TStopBits stop;
        TFlowControl flow;
        speed_t speed;
        tcflag_t cflag; // CSTOPB | CRTSCTS part
        tcflag_t iflag; // IXON | IXOFF part
    };
    const Row rows[] = {
        {br19200, sb1, fcNone, B19200, 0, 0},
        {br9600, sb2, fcSoftware, B9600, CSTOPB, IXON | IXOFF},
        {br115200, sb1, fcRtsCts, B115200, CRTSCTS, 0},
        {br57600, sb1p5, fcDtrDsr, B57600, CSTOPB, 0}, // 1.5 stop bits: CSTOPB, like 2
    };
    for (const Row& row : rows) {
        Pty line;
        TXComm port;
        port.SetDeviceName(line.SlavePath());
        port.SetBaudRate(row.rate);
        port.DataControl().SetStopBits(row.stop);
        port.SetFlowControl(row.flow);
        ASSERT_TRUE(port.Open());
        const termios t = line.SlaveTermios();
        EXPECT_EQ(::cfgetospeed(&t), row.speed) << "rate " << row.rate;
        EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), CS8 | row.cflag) << "rate " << row.rate;
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), row.iflag) << "rate " << row.rate;
        EXPECT_EQ(port.DataControl().StopBits(), row.stop);
    }
}

TEST_F(XComDrvPty, RatesOutsideTheBConstantsReachTheDriver)
{
    ASSERT_TRUE(comm.Open());
    for (TBaudRate rate : {br14400, br56000, br128000, br256000}) {
        comm.SetBaudRate(rate);
        EXPECT_EQ(comm.BaudValue(), kBaudRateTable[rate]); // read back from the driver
        EXPECT_EQ(comm.BaudRate(), rate);
    }
    comm.SetBaudRate(brCustom);
    comm.SetBaudValue(31250);
    EXPECT_EQ(comm.BaudValue(), 31250u);
    EXPECT_EQ(comm.BaudRate(), brCustom);
}

TEST_F(XComDrvPty, BaudValueOnAnOpenPort)
{
    ASSERT_TRUE(comm.Open());
    comm.SetBaudValue(4800); // ignored under br19200
    termios t = pty.SlaveTermios();
    EXPECT_EQ(::cfgetospeed(&t), B19200);
    EXPECT_EQ(comm.BaudValue(), 19200u);

    comm.SetBaudRate(brCustom);
    comm.SetBaudValue(4800);
    t = pty.SlaveTermios();
    EXPECT_EQ(::cfgetospeed(&t), B4800);
    EXPECT_EQ(comm.BaudValue(), 4800u);
    EXPECT_EQ(comm.BaudRate(), br4800); // the table entry that matches the driver's rate
}

TEST_F(XComDrvPty, StopBitsChangeIsAppliedAtOnce)
{
    ASSERT_TRUE(comm.Open());
    EXPECT_TRUE(pty.SlaveTermios().c_cflag & CSTOPB);
    comm.DataControl().SetStopBits(sb1);
    EXPECT_FALSE(pty.SlaveTermios().c_cflag & CSTOPB);
    EXPECT_EQ(comm.DataControl().StopBits(), sb1);
    comm.DataControl().SetStopBits(sb2);
    EXPECT_TRUE(pty.SlaveTermios().c_cflag & CSTOPB);
}

// A format the driver does not keep (db4 nowhere on Linux; parity and small characters not on a pty)
// is refused with code 3, at open and on an open port; the port stays open.
TEST_F(XComDrvPty, RefusedFormatsRaiseCode3AndLeaveThePortOpen)
{
    struct Row {
        TDataBits bits;
        TParity parity;
    };
    const Row rows[] = {{db4, paNone}, {db5, paNone}, {db7, paNone}, {db8, paEven}, {db8, paMark}};
    for (const Row& row : rows) {
        Pty line;
        TXComm port;
        port.SetDeviceName(line.SlavePath());
        port.DataControl().SetDataBits(row.bits);
        port.DataControl().SetParity(row.parity);
        EXPECT_EQ(ExpectDeviceError(3, [&] { port.Open(); }), "Unable to update device control block.");
        EXPECT_TRUE(port.IsOpen());
        // Back to a format the pty carries: applied at once; then the refused one again, on the open port.
        const bool byBits = row.bits != db8;
        if (byBits)
            port.DataControl().SetDataBits(db8);
        else
            port.DataControl().SetParity(paNone);
        EXPECT_EQ(line.SlaveTermios().c_cflag & (CSIZE | PARENB), static_cast<tcflag_t>(CS8));
        ExpectDeviceError(3, [&] {
            if (byBits)
                port.DataControl().SetDataBits(row.bits);
            else
                port.DataControl().SetParity(row.parity);
        });
        EXPECT_TRUE(port.IsOpen());
    }
}

TEST_F(XComDrvPty, OpenTwiceRaisesCode2AndStaysOpen)
{
    ASSERT_TRUE(comm.Open());
    EXPECT_EQ(ExpectDeviceError(2, [&] { comm.Open(); }), "Device is allready opened.");
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_TRUE(comm.SendString("+v\r"));
    EXPECT_EQ(pty.ReadAll(), "+v\r");
}

TEST_F(XComDrvPty, PortInUseCannotBeOpenedAgain)
{
    ASSERT_TRUE(comm.Open());
    TXComm other;
    other.SetDeviceName(pty.SlavePath());
    ExpectDeviceError(65535, [&] { other.Open(); });
    EXPECT_FALSE(other.IsOpen());
    comm.Close();
    EXPECT_TRUE(other.Open());
}

TEST_F(XComDrvPty, UnopenableNamesRaise65535)
{
    for (const std::string name : {"ttyNoSuchPort42", "/dev/no/such/port", "/dev/null"}) {
        TXComm port;
        port.SetDeviceName(name);
        EXPECT_EQ(ExpectDeviceError(65535, [&] { port.Open(); }), "Cannot open device " + name);
        EXPECT_FALSE(port.IsOpen());
        port.SetDeviceName(pty.SlavePath()); // the same component opens another port later
        EXPECT_TRUE(port.Open());
    }
}

TEST_F(XComDrvPty, BytesArriveExactlyBothWays)
{
    ASSERT_TRUE(comm.Open());
    const std::string bytes = AllByteValues() + "+v\r";
    EXPECT_TRUE(comm.SendString(bytes));
    EXPECT_EQ(pty.ReadAll(), bytes);
    EXPECT_EQ(comm.BytesSent(), bytes.size());

    pty.Write(bytes);
    EXPECT_EQ(ReceiveFor(bytes.size()), bytes);
    EXPECT_EQ(comm.BytesReceived(), bytes.size());

    pty.Write("K");
    ASSERT_TRUE(comm.WaitReadable(2000));
    std::uint8_t byte = 0;
    EXPECT_TRUE(comm.ReceiveChar(byte));
    EXPECT_EQ(byte, 'K');
}

TEST_F(XComDrvPty, EmptyStringAndEmptyQueue)
{
    ASSERT_TRUE(comm.Open());
    EXPECT_TRUE(comm.SendString(""));
    EXPECT_EQ(comm.BytesSent(), 0u);
    EXPECT_EQ(pty.ReadAll(50), "");

    const std::uint32_t start = NowMilliseconds();
    std::string text = "left over";
    EXPECT_FALSE(comm.ReceiveString(text));
    EXPECT_EQ(text, "");
    EXPECT_LT(ElapsedSince(start), 1000u); // at once, not after InputTimeout (6 s)
}

TEST_F(XComDrvPty, ReadTimesOutFromTheStartOfTheCall)
{
    ASSERT_TRUE(comm.Open());
    pty.Write("ab");
    ASSERT_TRUE(comm.WaitReadable(2000));
    char buffer[8];
    const std::uint32_t start = NowMilliseconds();
    EXPECT_EQ(comm.Read(buffer, sizeof buffer, 150), 2u);
    const std::uint32_t elapsed = ElapsedSince(start);
    EXPECT_GT(elapsed, 150u);
    EXPECT_LT(elapsed, 1000u);
}

TEST_F(XComDrvPty, WaitReadable)
{
    ASSERT_TRUE(comm.Open());
    std::uint32_t start = NowMilliseconds();
    EXPECT_FALSE(comm.WaitReadable(150));
    std::uint32_t elapsed = ElapsedSince(start);
    EXPECT_GE(elapsed, 150u);
    EXPECT_LT(elapsed, 1000u);

    start = NowMilliseconds();
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pty.Write("x");
    });
    EXPECT_TRUE(comm.WaitReadable(5000));
    elapsed = ElapsedSince(start);
    writer.join();
    EXPECT_GE(elapsed, 90u);
    EXPECT_LT(elapsed, 1000u); // woke on the byte, not at the time-out
    EXPECT_EQ(comm.InQueueCount(), 1u);
}

TEST_F(XComDrvPty, HungUpLineFailsInsteadOfSpinning)
{
    ASSERT_TRUE(comm.Open());
    pty.CloseMaster();
    const std::uint32_t start = NowMilliseconds();
    EXPECT_EQ(ExpectDeviceError(10, [&] { comm.WaitReadable(3000); }),
              "Unable to read from port. (Win32 error 5: Input/output error)");
    EXPECT_LT(ElapsedSince(start), 1000u);
    ExpectDeviceError(11, [&] { comm.SendString("x"); });
}

TEST_F(XComDrvPty, WriteThatCannotProgressReturnsWhatWentOut)
{
    comm.Buffers().SetOutputTimeout(300);
    ASSERT_TRUE(comm.Open());
    std::string big(256 * 1024, '\0'); // far beyond what a pty buffers while nobody reads
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>('A' + i % 26);

    std::uint32_t start = NowMilliseconds();
    const std::uint32_t sent = comm.Send(big.data(), static_cast<std::uint32_t>(big.size()));
    EXPECT_GT(ElapsedSince(start), 300u);
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, big.size());
    EXPECT_EQ(comm.BytesSent(), sent);

    start = NowMilliseconds();
    EXPECT_FALSE(comm.SendString("more"));
    EXPECT_GT(ElapsedSince(start), 300u);

    const std::string arrived = pty.ReadAll();
    ASSERT_GE(arrived.size(), sent);
    EXPECT_EQ(arrived.substr(0, sent), big.substr(0, sent));
    EXPECT_EQ(arrived.size(), comm.BytesSent()); // whatever "more" got in is counted too
}

TEST_F(XComDrvPty, QueueResizeDiscardsQueuedData)
{
    ASSERT_TRUE(comm.Open());
    pty.Write("stale");
    ASSERT_TRUE(comm.WaitReadable(2000));
    comm.Buffers().SetInputSize(100);
    EXPECT_EQ(comm.Buffers().InputSize(), 128);
    EXPECT_EQ(comm.InQueueCount(), 0u);
}

TEST_F(XComDrvPty, HandlersRunUnderTheirLock)
{
    ASSERT_TRUE(comm.Open());
    std::uint8_t sendLockSeen = 0;
    std::uint8_t readLockSeen = 0;
    std::string sendInside, readInside;
    comm.OnSend = [&](TCustomComm& c) {
        sendLockSeen = c.LockState();
        sendInside = ExpectDeviceError(4, [&] { c.SendString("x"); });
    };
    comm.OnRead = [&](TCustomComm& c) {
        readLockSeen = c.LockState();
        char byte;
        readInside = ExpectDeviceError(5, [&] { c.Read(&byte, 1, 0); });
    };
    EXPECT_TRUE(comm.SendString("ab"));
    EXPECT_EQ(sendLockSeen, TCustomComm::kSendLock);
    EXPECT_EQ(sendInside, "Device locked. Cannot perform send operations.");
    pty.Write("z");
    EXPECT_EQ(ReceiveFor(1), "z");
    EXPECT_EQ(readLockSeen, TCustomComm::kReadLock);
    EXPECT_EQ(readInside, "Device locked. Cannot perform read operations.");
    EXPECT_EQ(comm.LockState(), 0);
}

TEST_F(XComDrvPty, ModemLineCallsAreHarmlessOnAPty)
{
    comm.SetFlowControl(fcDtrDsr); // asks for DTR and RTS active, which a pty cannot show
    ASSERT_TRUE(comm.Open());
    comm.SetRTS();
    comm.ClrRTS();
    EXPECT_TRUE(comm.IsOpen());
}

TEST_F(XComDrvPty, AfterClose)
{
    ASSERT_TRUE(comm.Open());
    EXPECT_TRUE(comm.SendString("abc"));
    pty.Write("x");
    EXPECT_EQ(ReceiveFor(1), "x");
    comm.Close();
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(comm.LockState(), 3);
    EXPECT_EQ(comm.BytesSent(), 0u);
    EXPECT_EQ(comm.BytesReceived(), 0u);
    std::string text;
    ExpectDeviceError(1, [&] { comm.InQueueCount(); });
    ExpectDeviceError(1, [&] { comm.OutQueueCount(); });
    ExpectDeviceError(1, [&] { comm.ReceiveString(text); });
    ExpectDeviceError(1, [&] { comm.SendString("x"); });
    ExpectDeviceError(1, [&] { comm.Close(); });
    EXPECT_EQ(comm.DataControl().StopBits(), sb2); // settings live on
    EXPECT_TRUE(comm.Open());                      // and the port opens again
}

} // namespace
} // namespace nvx
