// A GSM modem in front of the device: the AT dialogue, a data call that carries the bytes to the device, the
// "+++" escape, and hang-up on ATH or when the port closes. Emulator thread.
#pragma once

#include "FaultSwitches.h"
#include "LineAssembler.h"
#include "SteadyTime.h"
#include "TimerQueue.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace devsim {

struct ModemConfig {
    enum class DialOutcome { Connect, Busy, NoAnswer };

    std::string registration = "0,1";      // the status in the "+CREG:" answer
    std::string revision = "SIM900 R11.0"; // the answer to AT+GMR
    DialOutcome dialOutcome = DialOutcome::Connect;
    Milliseconds dialTime{300};     // from the dial command to CONNECT or BUSY
    Milliseconds simReadyTime{700}; // from the port's opening to "+CPIN: READY"
    Milliseconds escapeGuard{300};  // silence before and after "+++"
};

// What the modem needs from the emulator.
class ModemHost {
public:
    virtual ~ModemHost() = default;
    // The modem's own output (echo, result codes), sent after the reply delay.
    virtual void sendFromModem(std::string bytes) = 0;
    // Bytes of the data call, for the device.
    virtual void passToDevice(std::string_view bytes, TimePoint now) = 0;
    virtual void callStarted() = 0;
    virtual void callEnded() = 0;
};

class ModemFront {
public:
    ModemFront(ModemConfig config, TimerQueue& timers, const FaultSwitches& faults, ModemHost& host);
    ~ModemFront();
    ModemFront(const ModemFront&) = delete;
    ModemFront& operator=(const ModemFront&) = delete;

    void portOpened(TimePoint now);
    // A closed port drops the call silently and resets the modem.
    void portClosed();
    void receive(std::string_view bytes, TimePoint now);
    // The carrier is lost: "NO CARRIER" and back to command mode. Nothing happens without a call.
    void loseCarrier();
    // Bytes pass to the device.
    bool inDataMode() const { return state_ == State::Data; }

private:
    enum class State { Command, Dialling, Data, OnlineCommand };

    // Returns how many bytes it took: it stops after a line that left command mode.
    std::size_t receiveCommandBytes(std::string_view bytes, TimePoint now);
    void receiveDataBytes(std::string_view bytes, TimePoint now);
    void answerCommand(const std::string& line, TimePoint now);
    void dial(TimePoint now);
    void enterDataMode();
    void hangUp();
    // Waits for the next "+" of the escape, or for the silence after the third.
    void restartEscapeGuard(TimePoint now);
    void escapeGuardExpired();
    void cancelTimers();

    ModemConfig config_;
    TimerQueue& timers_;
    const FaultSwitches& faults_;
    ModemHost& host_;

    State state_ = State::Command;
    LineAssembler commandLine_;
    std::optional<TimePoint> lastReceived_; // last byte from the program
    bool deviceLineStarts_ = true;          // the last byte passed on in the call ended a line
    std::string heldPlus_;                  // "+" characters that may be the escape
    TimerQueue::Id dialTimer_ = 0;
    TimerQueue::Id simReadyTimer_ = 0;
    TimerQueue::Id escapeTimer_ = 0;
};

} // namespace devsim
