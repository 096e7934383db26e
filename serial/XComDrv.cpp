#include "serial/XComDrv.h"

#include "core/Clock.h"
#include "serial/TtyLine.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <tuple>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace nvx {
namespace {

// Longest single pause of the write loop while the driver takes nothing.
constexpr int kWriteWaitMs = 2;

// Holds one lock bit for the lifetime of a handler call.
class LockBit {
public:
    LockBit(std::uint8_t& locks, std::uint8_t bit) : locks_(locks), bit_(bit) { locks_ |= bit_; }
    ~LockBit() { locks_ &= static_cast<std::uint8_t>(~bit_); }
    LockBit(const LockBit&) = delete;
    LockBit& operator=(const LockBit&) = delete;

private:
    std::uint8_t& locks_;
    std::uint8_t bit_;
};

std::string DevicePath(const std::string& name)
{
    return name.find('/') == std::string::npos ? "/dev/" + name : name;
}

// Opens a tty for exclusive use: TIOCEXCL keeps other opens out (except root's), flock keeps out every
// other program that locks too, root included. Returns -1 on any refusal.
int OpenExclusive(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::ioctl(fd, TIOCEXCL) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

// ---- settings objects ----

TDataBits TCommDataControl::DataBits() const
{
    tty::LineBlock block;
    return comm_.LineInForce(block) ? static_cast<TDataBits>(block.charSize - 4) : dataBits_;
}

void TCommDataControl::SetDataBits(TDataBits value)
{
    if (value == dataBits_)
        return;
    dataBits_ = value;
    comm_.LineChanged();
}

TParity TCommDataControl::Parity() const
{
    tty::LineBlock block;
    return comm_.LineInForce(block) ? static_cast<TParity>(block.parity) : parity_;
}

void TCommDataControl::SetParity(TParity value)
{
    if (value == parity_)
        return;
    parity_ = value;
    comm_.LineChanged();
}

TStopBits TCommDataControl::StopBits() const
{
    tty::LineBlock block;
    if (!comm_.LineInForce(block))
        return stopBits_;
    if (!block.twoStopBits)
        return sb1;
    return stopBits_ == sb1p5 ? sb1p5 : sb2;
}

void TCommDataControl::SetStopBits(TStopBits value)
{
    if (value == stopBits_)
        return;
    stopBits_ = value;
    comm_.LineChanged();
}

void TCommBuffers::SetInputSize(std::uint16_t value)
{
    SetSize(inputSize_, value);
}
void TCommBuffers::SetOutputSize(std::uint16_t value)
{
    SetSize(outputSize_, value);
}

void TCommBuffers::SetSize(std::uint16_t& field, std::uint16_t value)
{
    value = std::clamp(value, kMinSize, kMaxSize);
    if (value == field)
        return;
    field = value;
    comm_.QueuesChanged();
}

std::uint8_t TCommEventChars::XonChar() const
{
    tty::LineBlock block;
    return comm_.LineInForce(block) ? block.xonChar : xonChar_;
}

std::uint8_t TCommEventChars::XoffChar() const
{
    tty::LineBlock block;
    return comm_.LineInForce(block) ? block.xoffChar : xoffChar_;
}

void TCommEventChars::Set(std::uint8_t& field, std::uint8_t value)
{
    if (value == field)
        return;
    field = value;
    comm_.LineChanged();
}

// ---- component ----

TCustomComm::TCustomComm() = default;

TCustomComm::~TCustomComm()
{
    CloseDescriptor();
}

std::uint8_t TCustomComm::LockState() const
{
    return IsOpen() ? locks_ : kSendLock | kReadLock;
}

bool TCustomComm::Open()
{
    if (IsOpen())
        throw DeviceError(DeviceErrorCode::AlreadyOpened);
    locks_ = 0;
    received_ = sent_ = 0;
    fd_ = OpenExclusive(DevicePath(deviceName_));
    if (fd_ < 0)
        throw CannotOpenError(deviceName_);
    ApplyLine();
    ApplyQueues();
    return true;
}

void TCustomComm::Close()
{
    if (!IsOpen())
        throw DeviceError(DeviceErrorCode::NotOpened);
    CloseDescriptor();
}

void TCustomComm::CloseDescriptor() noexcept
{
    if (fd_ < 0)
        return;
    ::ioctl(fd_, TIOCNXCL); // a pseudo-terminal's flag outlives this descriptor otherwise
    ::close(fd_);           // also drops the flock
    fd_ = -1;
    received_ = sent_ = 0;
}

std::uint32_t TCustomComm::InQueueCount()
{
    if (!IsOpen())
        throw DeviceError(DeviceErrorCode::NotOpened);
    int count = 0;
    if (::ioctl(fd_, FIONREAD, &count) != 0)
        throw DeviceOsError(DeviceErrorCode::ReadFailed, errno);
    return static_cast<std::uint32_t>(count);
}

std::uint32_t TCustomComm::OutQueueCount()
{
    if (!IsOpen())
        throw DeviceError(DeviceErrorCode::NotOpened);
    int count = 0;
    if (::ioctl(fd_, TIOCOUTQ, &count) != 0)
        throw DeviceOsError(DeviceErrorCode::WriteFailed, errno);
    return static_cast<std::uint32_t>(count);
}

std::uint32_t TCustomComm::Read(void* buffer, std::uint32_t count, std::uint32_t timeoutMs)
{
    if (!IsOpen())
        throw DeviceError(DeviceErrorCode::NotOpened);
    if (LockState() & kReadLock)
        throw DeviceError(DeviceErrorCode::ReadLocked);
    if (count == 0)
        return 0;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    std::uint32_t done = 0;
    const std::uint32_t start = NowMilliseconds();
    while (done < count) {
        const std::uint32_t waiting = InQueueCount();
        if (waiting != 0) {
            const ssize_t got = ::read(fd_, bytes + done, std::min(waiting, count - done));
            if (got < 0 && errno != EAGAIN && errno != EINTR)
                throw DeviceOsError(DeviceErrorCode::ReadFailed, errno);
            if (got > 0) {
                const auto moved = static_cast<std::uint32_t>(got);
                received_ += moved;
                done += moved;
                LockBit lock(locks_, kReadLock);
                if (OnRead)
                    OnRead(*this);
                continue;
            }
        }
        const std::uint32_t elapsed = ElapsedSince(start);
        if (elapsed > timeoutMs)
            break;
        WaitForInput(std::uint64_t{timeoutMs} - elapsed + 1); // wakes at once when bytes arrive
    }
    return done;
}

std::uint32_t TCustomComm::Write(const void* buffer, std::uint32_t count, std::uint32_t timeoutMs)
{
    if (!IsOpen())
        throw DeviceError(DeviceErrorCode::NotOpened);
    if (LockState() & kSendLock)
        throw DeviceError(DeviceErrorCode::SendLocked);
    if (count == 0)
        return 0;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    std::uint32_t done = 0;
    const std::uint32_t start = NowMilliseconds();
    while (done < count) {
        const std::uint32_t queued = OutQueueCount();
        const std::uint32_t room = queued < buffers_.OutputSize() ? buffers_.OutputSize() - queued : 0;
        if (room != 0) {
            const ssize_t put = ::write(fd_, bytes + done, std::min(room, count - done));
            if (put < 0 && errno != EAGAIN && errno != EINTR)
                throw DeviceOsError(DeviceErrorCode::WriteFailed, errno);
            if (put > 0) {
                const auto moved = static_cast<std::uint32_t>(put);
                sent_ += moved;
                done += moved;
                LockBit lock(locks_, kSendLock);
                if (OnSend)
                    OnSend(*this);
                continue;
            }
        }
        if (ElapsedSince(start) > timeoutMs)
            break;
        WaitForOutput(room == 0);
    }
    return done;
}

void TCustomComm::WaitForInput(std::uint64_t ms)
{
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(std::min<std::uint64_t>(ms, INT_MAX)));
    // A hung-up line stays "ready" with nothing to read: waiting on it would spin, so it is a failure.
    if (ready > 0 && !(p.revents & POLLIN) && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
        throw DeviceOsError(DeviceErrorCode::ReadFailed, EIO);
}

void TCustomComm::WaitForOutput(bool queueFull)
{
    if (queueFull) { // the descriptor is writable; it is our own OutputSize bound that holds the bytes back
        ::poll(nullptr, 0, 1);
        return;
    }
    pollfd p{fd_, POLLOUT, 0};
    ::poll(&p, 1, kWriteWaitMs); // a hung-up line fails the next write with its own error
}

std::uint32_t TCustomComm::Send(const void* buffer, std::uint32_t count)
{
    return Write(buffer, count, buffers_.OutputTimeout());
}

std::uint32_t TCustomComm::Receive(void* buffer, std::uint32_t count)
{
    return Read(buffer, count, buffers_.InputTimeout());
}

bool TCustomComm::SendString(const std::string& text)
{
    const auto length = static_cast<std::uint32_t>(text.size());
    return Send(text.data(), length) == length;
}

bool TCustomComm::ReceiveChar(std::uint8_t& byte)
{
    return Receive(&byte, 1) == 1;
}

bool TCustomComm::ReceiveString(std::string& text)
{
    text.resize(InQueueCount());
    text.resize(Receive(text.data(), static_cast<std::uint32_t>(text.size())));
    return !text.empty();
}

bool TCustomComm::WaitReadable(std::uint32_t timeoutMs)
{
    const std::uint32_t start = NowMilliseconds();
    while (InQueueCount() == 0) {
        const std::uint32_t elapsed = ElapsedSince(start);
        if (elapsed >= timeoutMs)
            return false;
        WaitForInput(timeoutMs - elapsed);
    }
    return true;
}

void TCustomComm::SetRTS()
{
    if (IsOpen())
        tty::SetModemLines(fd_, TIOCM_RTS, true);
}

void TCustomComm::ClrRTS()
{
    if (IsOpen())
        tty::SetModemLines(fd_, TIOCM_RTS, false);
}

void TCustomComm::SetDeviceName(const std::string& name)
{
    if (!IsOpen())
        deviceName_ = name;
}

TBaudRate TCustomComm::BaudRate() const
{
    tty::LineBlock block;
    if (!LineInForce(block))
        return baudRate_;
    const auto entry = std::find(kBaudRateTable.begin(), kBaudRateTable.end(), block.baud);
    return entry == kBaudRateTable.end() ? brCustom : static_cast<TBaudRate>(entry - kBaudRateTable.begin());
}

void TCustomComm::SetBaudRate(TBaudRate value)
{
    const std::uint32_t rate = value == brCustom ? baudValue_ : kBaudRateTable[value];
    if (value == baudRate_ && rate == baudValue_)
        return;
    baudRate_ = value;
    baudValue_ = rate;
    LineChanged();
}

std::uint32_t TCustomComm::BaudValue() const
{
    tty::LineBlock block;
    return LineInForce(block) ? block.baud : baudValue_;
}

void TCustomComm::SetBaudValue(std::uint32_t value)
{
    if (baudRate_ != brCustom || value == baudValue_)
        return;
    baudValue_ = value;
    LineChanged();
}

void TCustomComm::SetFlowControl(TFlowControl value)
{
    const auto before = std::tuple(flowControl_, dtrSettings_, rtsSettings_, xonXoffSettings_);
    flowControl_ = value;
    if (value != fcCustom)
        DeriveFlowSettings();
    if (before != std::tuple(flowControl_, dtrSettings_, rtsSettings_, xonXoffSettings_))
        LineChanged();
}

void TCustomComm::SetOptions(TCommOptions value)
{
    if (IsOpen()) {
        if (options_.Contains(coLeaveDTROpen))
            value.Include(coLeaveDTROpen);
        else
            value.Exclude(coLeaveDTROpen);
    }
    if (value == options_)
        return;
    options_ = value;
    if (!IsOpen())
        DeriveFlowSettings();
    LineChanged();
}

void TCustomComm::SetDTRSettings(TDTRSettings value)
{
    if (flowControl_ != fcCustom)
        return;
    if (value.Contains(fsDTREnabled) && value.Contains(fsDTRHandshake)) {
        // The two exclude each other: the one just added wins.
        if (dtrSettings_.Contains(fsDTRHandshake))
            value.Exclude(fsDTRHandshake);
        else
            value.Exclude(fsDTREnabled);
    }
    if (options_.Contains(coLeaveDTROpen))
        value.Exclude(fsDTRHandshake).Include(fsDTREnabled);
    if (value == dtrSettings_)
        return;
    dtrSettings_ = value;
    LineChanged();
}

void TCustomComm::SetRTSSettings(TRTSSettings value)
{
    if (flowControl_ != fcCustom || value == rtsSettings_)
        return;
    rtsSettings_ = value;
    LineChanged();
}

void TCustomComm::SetXOnXOffSettings(TXOnXOffSettings value)
{
    if (flowControl_ != fcCustom || value == xonXoffSettings_)
        return;
    xonXoffSettings_ = value;
    LineChanged();
}

// The handshake sets of the FlowControl preset. Under fcCustom the sets are the user's own and only the
// coLeaveDTROpen rule applies.
void TCustomComm::DeriveFlowSettings()
{
    if (flowControl_ != fcCustom) {
        dtrSettings_ = {};
        rtsSettings_ = {};
        xonXoffSettings_ = {};
        switch (flowControl_) {
        case fcRtsCts:
            rtsSettings_ = {fsCTSOut, fsRTSHandshake};
            break;
        case fcDtrDsr:
            dtrSettings_ = {fsDSROut};
            rtsSettings_ = {fsRTSEnabled};
            break;
        case fcSoftware:
            xonXoffSettings_ = {fsInX, fsOutX};
            break;
        default:
            break;
        }
        if (flowControl_ != fcNone)
            dtrSettings_.Include(fsDTREnabled);
    }
    if (options_.Contains(coLeaveDTROpen))
        dtrSettings_.Exclude(fsDTRHandshake).Include(fsDTREnabled);
}

void TCustomComm::LineChanged()
{
    if (IsOpen())
        ApplyLine();
}

void TCustomComm::QueuesChanged()
{
    if (IsOpen())
        ApplyQueues();
}

void TCustomComm::ApplyLine()
{
    tty::LineBlock block;
    block.baud = baudValue_;
    block.charSize = dataControl_.dataBits_ + 4;
    block.parity = dataControl_.parity_;
    block.twoStopBits = dataControl_.stopBits_ != sb1;
    block.rtsCts = rtsSettings_.Contains(fsCTSOut) || rtsSettings_.Contains(fsRTSHandshake);
    block.xonOutput = xonXoffSettings_.Contains(fsOutX);
    block.xonInput = xonXoffSettings_.Contains(fsInX);
    block.parityCheck = options_.Contains(coParityCheck);
    block.keepDtrOnClose = options_.Contains(coLeaveDTROpen);
    block.xonChar = eventChars_.xonChar_;
    block.xoffChar = eventChars_.xoffChar_;
    block.dtr = dtrSettings_.Contains(fsDTREnabled) || dtrSettings_.Contains(fsDTRHandshake) ||
                options_.Contains(coLeaveDTROpen);
    block.rts = rtsSettings_.Contains(fsRTSEnabled) || rtsSettings_.Contains(fsRTSHandshake);
    if (!tty::ApplyLine(fd_, block))
        throw DeviceError(DeviceErrorCode::LineBlock);
}

void TCustomComm::ApplyQueues()
{
    if (::tcflush(fd_, TCIOFLUSH) != 0)
        throw DeviceError(DeviceErrorCode::Queues);
}

bool TCustomComm::LineInForce(tty::LineBlock& block) const
{
    return IsOpen() && tty::ReadLine(fd_, block);
}

} // namespace nvx
