// The serial port component on a POSIX tty: settings, open/close, queue queries, reads and writes bounded
// by a time-out, RTS control; every failure is an EDeviceError. One thread (the link thread) calls it; it
// holds no mutex and starts no thread.
//
// On Linux:
// - DeviceName "ttyUSB0" opens /dev/ttyUSB0; a name holding "/" is a path used as is (/dev/pts/3,
//   /dev/serial/by-id/...). The port is opened non-blocking, for exclusive use (TIOCEXCL, which root
//   ignores, plus flock); a port some other program holds fails to open.
// - Any rate: standard ones go to the driver as B constants, others (14400, 56000, 128000, 256000, custom)
//   through termios2/BOTHER; a driver that ends up more than 3 % off the rate asked refuses it (code 3).
// - sb1p5 sets CSTOPB like sb2 (a 16550-type UART sends 1.5 stop bits with 5-bit characters, else 2).
//   db4 has no Linux counterpart and is refused (code 3).
// - fsCTSOut and fsRTSHandshake both map to CRTSCTS (Linux has one flag for both directions); fsInX to
//   IXOFF, fsOutX to IXON, coParityCheck to INPCK, coLeaveDTROpen also clears HUPCL. DTR is held active for
//   fsDTREnabled, fsDTRHandshake or coLeaveDTROpen; RTS for fsRTSEnabled or fsRTSHandshake; otherwise both
//   are lowered right after open. Modem-line calls a tty does not support (pseudo-terminals) are ignored.
//   fsDSROut, coDSRSensitivity, coDiscardNull, coAbortOnError, coTXContinueOnXOff, ErrorChar, EofChar,
//   EventChar and the XON/XOFF limits have no termios counterpart: they are kept but change nothing.
// - Linux has no per-port queue size: InputSize and OutputSize are clamped and kept, OutputSize bounds how
//   much one write hands the driver, and applying the queues discards all queued data (TCIOFLUSH).
// - Linux has no driver time-outs: Timeouts are kept and read back as stored; the component's own loops
//   do all the waiting (code 7 is never raised).
// - Not built: the line event monitor thread and the OnCommEvent/OnData notifications (the system assigns
//   no handler and reads by polling InQueueCount); MonitorEvents and Synchronize are kept as settings only.
//   WaitReadable lets a reader sleep on the descriptor until data arrives instead.
#pragma once

#include "serial/XComErr.h"

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

namespace nvx {

namespace tty {
struct LineBlock;
}

enum TBaudRate {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
    brCustom
};
enum TDataBits { db4, db5, db6, db7, db8 }; // character size = ordinal + 4
enum TParity { paNone, paOdd, paEven, paMark, paSpace };
enum TStopBits { sb1, sb1p5, sb2 };
enum TFlowControl { fcNone, fcRtsCts, fcDtrDsr, fcSoftware, fcCustom };
enum TDeviceEvent {
    deChar,
    deFlag,
    deOutEmpty,
    deCTS,
    deDSR,
    deRLSD,
    deBreak,
    deError,
    deRing,
    dePrintError,
    deIn80Full,
    deProv1,
    deProv2
};
enum TCommOption {
    coAbortOnError,
    coDiscardNull,
    coDSRSensitivity,
    coErrorChar,
    coParityCheck,
    coTXContinueOnXOff,
    coLeaveDTROpen
};
enum TRTSSetting { fsCTSOut, fsRTSEnabled, fsRTSHandshake };
enum TDTRSetting { fsDSROut, fsDTREnabled, fsDTRHandshake };
enum TXOnXOffSetting { fsInX, fsOutX };

// A set of enumeration members; member e is bit 2^e of Mask().
template <typename E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members)
    {
        for (E member : members)
            mask_ |= Bit(member);
    }
    static constexpr TSet FromMask(std::uint32_t mask)
    {
        TSet set;
        set.mask_ = mask;
        return set;
    }

    constexpr bool Contains(E member) const { return (mask_ & Bit(member)) != 0; }
    constexpr bool Empty() const { return mask_ == 0; }
    constexpr std::uint32_t Mask() const { return mask_; }
    constexpr TSet& Include(E member)
    {
        mask_ |= Bit(member);
        return *this;
    }
    constexpr TSet& Exclude(E member)
    {
        mask_ &= ~Bit(member);
        return *this;
    }

    friend constexpr TSet operator|(TSet a, TSet b) { return FromMask(a.mask_ | b.mask_); }
    friend constexpr TSet operator&(TSet a, TSet b) { return FromMask(a.mask_ & b.mask_); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromMask(a.mask_ & ~b.mask_); }
    friend constexpr bool operator==(TSet a, TSet b) = default;

private:
    static constexpr std::uint32_t Bit(E member) { return std::uint32_t{1} << static_cast<unsigned>(member); }
    std::uint32_t mask_ = 0;
};

using TDeviceEvents = TSet<TDeviceEvent>;
using TCommOptions = TSet<TCommOption>;
using TRTSSettings = TSet<TRTSSetting>;
using TDTRSettings = TSet<TDTRSetting>;
using TXOnXOffSettings = TSet<TXOnXOffSetting>;

// The rate of each TBaudRate but brCustom, by ordinal.
inline constexpr std::array<std::uint32_t, 15> kBaudRateTable = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

class TCustomComm;

// Character format. Setters on an open port re-apply the line parameter block at once; getters on an open
// port read what is in force from the driver (the stored value if the driver cannot tell).
class TCommDataControl {
public:
    explicit TCommDataControl(TCustomComm& comm) : comm_(comm) {}
    TDataBits DataBits() const;
    void SetDataBits(TDataBits value);
    TParity Parity() const;
    void SetParity(TParity value);
    TStopBits StopBits() const; // CSTOPB in force reads back as sb1p5 if that was asked, else sb2
    void SetStopBits(TStopBits value);

private:
    friend class TCustomComm;
    TCustomComm& comm_;
    TDataBits dataBits_ = db8;
    TParity parity_ = paNone;
    TStopBits stopBits_ = sb1;
};

// Queue sizes (clamped to 128..4096) and the time-outs of Send/Receive and the calls built on them.
class TCommBuffers {
public:
    static constexpr std::uint16_t kMinSize = 128;
    static constexpr std::uint16_t kMaxSize = 4096;

    explicit TCommBuffers(TCustomComm& comm) : comm_(comm) {}
    std::uint16_t InputSize() const { return inputSize_; }
    void SetInputSize(std::uint16_t value); // on an open port re-applies the queues (discards queued data)
    std::uint16_t OutputSize() const { return outputSize_; }
    void SetOutputSize(std::uint16_t value); // likewise
    std::uint16_t InputTimeout() const { return inputTimeout_; }
    void SetInputTimeout(std::uint16_t ms) { inputTimeout_ = ms; }
    std::uint16_t OutputTimeout() const { return outputTimeout_; }
    void SetOutputTimeout(std::uint16_t ms) { outputTimeout_ = ms; }

private:
    void SetSize(std::uint16_t& field, std::uint16_t value);
    TCustomComm& comm_;
    std::uint16_t inputSize_ = 2048;
    std::uint16_t inputTimeout_ = 500;
    std::uint16_t outputSize_ = 2048;
    std::uint16_t outputTimeout_ = 500;
};

// Special characters. Setters on an open port re-apply the line parameter block; XonChar and XoffChar
// (VSTART, VSTOP) read back from the driver while open.
class TCommEventChars {
public:
    explicit TCommEventChars(TCustomComm& comm) : comm_(comm) {}
    std::uint8_t XonChar() const;
    void SetXonChar(std::uint8_t value) { Set(xonChar_, value); }
    std::uint8_t XoffChar() const;
    void SetXoffChar(std::uint8_t value) { Set(xoffChar_, value); }
    std::uint8_t EofChar() const { return eofChar_; }
    void SetEofChar(std::uint8_t value) { Set(eofChar_, value); }
    std::uint8_t ErrorChar() const { return errorChar_; }
    void SetErrorChar(std::uint8_t value) { Set(errorChar_, value); }
    std::uint8_t EventChar() const { return eventChar_; }
    void SetEventChar(std::uint8_t value) { Set(eventChar_, value); }

private:
    friend class TCustomComm;
    void Set(std::uint8_t& field, std::uint8_t value);
    TCustomComm& comm_;
    std::uint8_t xonChar_ = 17;
    std::uint8_t xoffChar_ = 19;
    std::uint8_t eofChar_ = 0;
    std::uint8_t errorChar_ = 0;
    std::uint8_t eventChar_ = 10;
};

// Driver time-outs in ms. Kept and read back as stored: Linux has no such driver setting.
class TCommTimeoutsEx {
public:
    std::uint32_t ReadInterval() const { return readInterval_; }
    void SetReadInterval(std::uint32_t value) { readInterval_ = value; }
    std::uint32_t ReadMultiplier() const { return readMultiplier_; }
    void SetReadMultiplier(std::uint32_t value) { readMultiplier_ = value; }
    std::uint32_t ReadConstant() const { return readConstant_; }
    void SetReadConstant(std::uint32_t value) { readConstant_ = value; }
    std::uint32_t WriteMultiplier() const { return writeMultiplier_; }
    void SetWriteMultiplier(std::uint32_t value) { writeMultiplier_ = value; }
    std::uint32_t WriteConstant() const { return writeConstant_; }
    void SetWriteConstant(std::uint32_t value) { writeConstant_ = value; }

private:
    std::uint32_t readInterval_ = 1;
    std::uint32_t readMultiplier_ = 0;
    std::uint32_t readConstant_ = 1;
    std::uint32_t writeMultiplier_ = 0;
    std::uint32_t writeConstant_ = 1;
};

class TCustomComm {
public:
    static constexpr std::uint8_t kSendLock = 1;
    static constexpr std::uint8_t kReadLock = 2;

    TCustomComm();
    virtual ~TCustomComm(); // closes an open port
    TCustomComm(const TCustomComm&) = delete;
    TCustomComm& operator=(const TCustomComm&) = delete;

    // Bits kSendLock and kReadLock; both when the port is closed.
    virtual std::uint8_t LockState() const;
    // Opens DeviceName and applies the line block and the queues; raises 2 when open, 65535 when the OS
    // refuses the device, 3 or 6 when the driver refuses a setting (the port then stays open).
    virtual bool Open();
    // Closes the port and zeroes the byte totals; raises 1 when the port is not open.
    virtual void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Bytes waiting in the receive / transmit queue, without waiting (raise 1 when closed; 10 / 11 with
    // the OS error when the driver cannot tell).
    std::uint32_t InQueueCount();
    std::uint32_t OutQueueCount();

    // Move up to count bytes, giving up once more than timeoutMs has passed since the call began without
    // progress; return the number moved. Raise 1 when closed, 4 / 5 when locked, 11 / 10 on an OS failure.
    std::uint32_t Read(void* buffer, std::uint32_t count, std::uint32_t timeoutMs);
    std::uint32_t Write(const void* buffer, std::uint32_t count, std::uint32_t timeoutMs);
    std::uint32_t Send(const void* buffer, std::uint32_t count); // Write with Buffers().OutputTimeout()
    std::uint32_t Receive(void* buffer, std::uint32_t count);    // Read with Buffers().InputTimeout()
    bool SendString(const std::string& text);                    // true when every byte went out
    bool ReceiveChar(std::uint8_t& byte);                        // true when a byte came within InputTimeout
    bool ReceiveString(std::string& text); // takes what is waiting now; true when it was at least a byte

    // Sleeps on the descriptor until bytes are waiting or timeoutMs has passed; true when bytes are waiting.
    // Raises 1 when closed and 10 when the line has hung up (a pseudo-terminal whose master closed, a
    // USB adapter pulled out) with nothing left to read.
    bool WaitReadable(std::uint32_t timeoutMs);

    // Raise / lower RTS at once whatever the handshake settings say. Failures are ignored, as the link
    // ignores them (pseudo-terminals have no modem lines); nothing happens on a closed port.
    void SetRTS();
    void ClrRTS();

    std::uint32_t BytesReceived() const { return received_; }
    std::uint32_t BytesSent() const { return sent_; }

    // Settings. Setters that change a line setting of an open port re-apply the line block at once.
    TCommDataControl& DataControl() { return dataControl_; }
    const TCommDataControl& DataControl() const { return dataControl_; }
    TCommBuffers& Buffers() { return buffers_; }
    const TCommBuffers& Buffers() const { return buffers_; }
    TCommEventChars& EventChars() { return eventChars_; }
    const TCommEventChars& EventChars() const { return eventChars_; }
    TCommTimeoutsEx& Timeouts() { return timeouts_; }
    const TCommTimeoutsEx& Timeouts() const { return timeouts_; }

    const std::string& DeviceName() const { return deviceName_; }
    void SetDeviceName(const std::string& name); // ignored while the port is open

    // The rate in force is BaudValue. Setting BaudRate to a table entry sets BaudValue from the table;
    // setting BaudValue counts only while BaudRate is brCustom. While open both read the driver's rate
    // (BaudRate: the matching table entry, else brCustom).
    TBaudRate BaudRate() const;
    void SetBaudRate(TBaudRate value);
    std::uint32_t BaudValue() const;
    void SetBaudValue(std::uint32_t value);

    // Setting anything but fcCustom replaces the three handshake sets by its preset.
    TFlowControl FlowControl() const { return flowControl_; }
    void SetFlowControl(TFlowControl value);
    // On a closed port a change re-derives the handshake sets; on an open port coLeaveDTROpen stays as is.
    TCommOptions Options() const { return options_; }
    void SetOptions(TCommOptions value);
    // The handshake sets change only while FlowControl is fcCustom (otherwise the new value is ignored).
    TDTRSettings DTRSettings() const { return dtrSettings_; }
    void SetDTRSettings(TDTRSettings value);
    TRTSSettings RTSSettings() const { return rtsSettings_; }
    void SetRTSSettings(TRTSSettings value);
    TXOnXOffSettings XOnXOffSettings() const { return xonXoffSettings_; }
    void SetXOnXOffSettings(TXOnXOffSettings value);

    // Kept for completeness; no event monitor is built (see the top of this header).
    TDeviceEvents MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TDeviceEvents value) { monitorEvents_ = value; }
    bool Synchronize() const { return synchronize_; }
    void SetSynchronize(bool value) { synchronize_ = value; }

    // Called after each read / write that moved bytes, with the read / send lock held: reading from
    // OnRead raises 5, sending from OnSend raises 4.
    std::function<void(TCustomComm&)> OnRead;
    std::function<void(TCustomComm&)> OnSend;

private:
    friend class TCommDataControl;
    friend class TCommBuffers;
    friend class TCommEventChars;

    void LineChanged();   // re-applies the line block if open (raises 3)
    void QueuesChanged(); // re-applies the queues if open (raises 6)
    void ApplyLine();
    void ApplyQueues();
    bool LineInForce(tty::LineBlock& block) const; // false when closed or the driver cannot tell
    void DeriveFlowSettings();
    void WaitForInput(std::uint64_t ms);
    void WaitForOutput(bool queueFull);
    void CloseDescriptor() noexcept;

    int fd_ = -1;
    std::string deviceName_ = "COM2";
    TBaudRate baudRate_ = br9600;
    std::uint32_t baudValue_ = 9600;
    TCommOptions options_;
    TDTRSettings dtrSettings_;
    TRTSSettings rtsSettings_;
    TXOnXOffSettings xonXoffSettings_;
    TFlowControl flowControl_ = fcNone;
    TCommDataControl dataControl_{*this};
    TCommBuffers buffers_{*this};
    TCommEventChars eventChars_{*this};
    TCommTimeoutsEx timeouts_;
    TDeviceEvents monitorEvents_{deChar, deFlag, deOutEmpty};
    bool synchronize_ = true;
    std::uint32_t received_ = 0;
    std::uint32_t sent_ = 0;
    std::uint8_t locks_ = 0;
};

// The component as the system uses it; it adds nothing to TCustomComm.
class TXComm final : public TCustomComm {
public:
    TXComm() = default;
    ~TXComm() override = default;
};

} // namespace nvx
