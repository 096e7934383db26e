// One emulated device on a pseudo-terminal: answers as the device (behind the modem when there is one), with
// fault switches, control commands and paced output. A single-threaded poll loop on the thread calling run().
#pragma once

#include "ControlChannel.h"
#include "Device.h"
#include "EventSource.h"
#include "FaultSwitches.h"
#include "LineAssembler.h"
#include "LinePacer.h"
#include "ModemFront.h"
#include "Options.h"
#include "OutputQueue.h"
#include "PtyEndpoint.h"
#include "StateFile.h"
#include "TimerQueue.h"
#include "TraceLog.h"
#include "WireLog.h"

#include <csignal>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>

namespace devsim {

class Emulator : private ModemHost {
public:
    // Opens the pseudo-terminal, the control FIFO and the logs; throws std::system_error when one cannot
    // be opened and std::invalid_argument when a preset is refused by the device.
    explicit Emulator(const Options& options);
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;

    const std::string& portPath() const { return pty_.slavePath(); }

    // Serves until `stopRequested` says so. The stop signals must be blocked by the caller; they are let
    // through only while the loop waits (`waitMask`), so a stop is never missed.
    void run(const std::function<bool()>& stopRequested, const sigset_t& waitMask);

private:
    // ModemHost
    void sendFromModem(std::string bytes) override;
    void passToDevice(std::string_view bytes, TimePoint now) override;
    void callStarted() override;
    void callEnded() override;

    void serviceInput(TimePoint now);
    void portOpened(TimePoint now);
    void portClosed();
    void received(std::string_view bytes, TimePoint now);
    void answerLine(const std::string& line, TimePoint now);
    void sendFromDevice(std::string bytes, TimePoint now);
    void emitEvent(std::string lines, TimePoint now);
    void scheduleEvents(TimePoint when);
    bool deviceReachable() const;
    void dropLine(TimePoint now);
    void applyControl(const std::string& line, TimePoint now);
    void flushOutput(TimePoint now);
    void waitForWork(const sigset_t& waitMask);
    void updateState();

    Milliseconds replyDelay_;
    std::optional<Milliseconds> eventsEvery_;
    bool eventsAnywhere_;

    PtyEndpoint pty_;
    TimerQueue timers_;
    OutputQueue output_;
    LinePacer pacer_;
    FaultSwitches faults_;
    std::unique_ptr<Device> device_;
    LineAssembler deviceLine_;
    std::unique_ptr<ModemFront> modem_;
    EventSource events_;
    std::mt19937 spliceRandom_;
    std::unique_ptr<ControlChannel> control_;
    std::unique_ptr<WireLog> wireLog_;
    TraceLog trace_;
    StateFile stateFile_;

    bool portOpen_ = false;
    bool lineFull_ = false; // the program is not reading; wait until the pty takes bytes again
};

} // namespace devsim
