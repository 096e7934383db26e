// The link thread: one per connection. It owns the serial port, starts and dials a GSM modem,
// runs the device object's jobs and offers the exchange primitives (send with attempts and
// echo removal, the readers, the reply checks). Everything visible goes through the update
// queue. Public operations run on the link thread unless marked otherwise.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/Clock.h"
#include "core/OutArray.h"
#include "link/EventLineFilter.h"
#include "link/LinkClient.h"

namespace nvx {

class TXComm;

// The windows the link writes to through the queue.
struct LinkWindows {
    FormModel* mainForm = nullptr;  // "tbtnDisconnect" is clicked when the link ends by itself
    FormModel* splash = nullptr;    // connection progress window; "Panel2" is its status line
};

enum class ReplyKind { Modem, Dial, LineWatch };

struct LinkOptions {
    std::string portName;
    bool rtsPower = true;
    bool toneDial = true;
    std::string phone;  // empty: device on the cable
};

class TModem {
public:
    // Reply check codes.
    static constexpr int kOk = 0;
    static constexpr int kFailed = 1;
    static constexpr int kErrorReported = 2;

    TModem(LinkOptions options, TLinkClient* device, TOutArray* queue, LinkWindows windows,
           Clock& clock = SystemClock());
    ~TModem();
    TModem(const TModem&) = delete;
    TModem& operator=(const TModem&) = delete;

    // Interface thread: thread control and the job code.
    void Start();
    void Terminate();                 // the interface asks the thread to stop; returns at once
    void StopSelf();                  // link thread: the link ends itself (broken line, failed connect)
    bool Finished() const { return finished_; }
    void WaitFor();                   // joins a finished or stopping thread
    void SetJob(std::uint8_t code);
    std::uint8_t Job() const { return job_; }

    // Set when an interface-thread caller (port search, tests) uses the primitives without
    // starting the thread.
    bool Stopping() const { return terminated_ && !hangingUp_; }
    bool Terminated() const { return terminated_; }

    const std::string& PortName() const { return options_.portName; }
    const std::string& Phone() const { return options_.phone; }
    bool DataCallUp() const { return dataCallUp_; }
    TXComm& Port() { return *port_; }
    Clock& clock() { return clock_; }
    std::int64_t LastWriteTime() const { return lastWriteTime_; }

    // Online event decoder: gets payload + CR LF + signal value of each cut-out event line.
    void SetEventSink(std::function<void(const std::string&)> sink);

    bool OpenPort();
    void ClosePort();
    void WriteRaw(const std::string& text);
    bool SendCommand(const std::string& command, std::string& answer, bool log, bool raw,
                     bool requireTerminator, const std::string& terminator, std::uint32_t timeoutMs,
                     int attempts);
    void SendNoWait(const std::string& command);
    bool ReadUntil(std::string& text, std::uint32_t timeoutMs, const std::string& terminator);
    bool ReadUntilAny(std::string& text, const std::vector<std::string>& terminators,
                      std::uint32_t timeoutMs);
    bool ReadAny(std::string& text, std::uint32_t timeoutMs);
    bool ReadUntilFast(std::string& text, std::uint32_t timeoutMs, const std::string& terminator);
    void DrainInput();
    bool CheckReply(bool noAnswer, const std::string& text, int& code, ReplyKind kind);
    bool DialModem(int bearer);
    void HangUp();
    void Log(const std::string& text, bool visible = true, bool timeStamp = true);
    void Status(const std::string& text);

private:
    enum class StopRule { UnlessHangingUp, Always, Never };
    // How a reader takes the received text and when it is done.
    struct ReadRule {
        std::function<bool(const std::string&)> done;
        bool byteWise = false;
        std::uint32_t pollMs = 50;
        StopRule stops = StopRule::UnlessHangingUp;
        bool wakeOnData = true;
    };

    void Execute();
    bool ReadWith(std::string& text, std::uint32_t timeoutMs, const ReadRule& rule);
    void FillInbox();
    bool WaitForInput(std::uint32_t timeoutMs);
    void Collect(std::uint32_t durationMs, std::string& text);
    void CollectAndLog(std::uint32_t durationMs);
    void Pause(std::uint32_t ms);  // a poll pause that a stop request cuts short
    std::uint32_t Remaining(std::uint32_t start, std::uint32_t timeoutMs) const;

    LinkOptions options_;
    TLinkClient* device_;
    TOutArray* queue_;
    LinkWindows windows_;
    Clock& clock_;
    std::unique_ptr<TXComm> port_;
    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> finished_{false};
    std::atomic<std::uint8_t> job_{0};
    std::atomic<std::int64_t> lastWriteTime_{0};
    std::atomic<bool> dataCallUp_{false};
    std::atomic<bool> hangingUp_{false};
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    EventLineFilter eventFilter_;
    std::string inbox_;  // received answer text not yet taken by a reader
    std::function<void(const std::string&)> eventSink_;
};

}  // namespace nvx
