#include "ModemFront.h"

#include <algorithm>
#include <cctype>

namespace devsim {

namespace {

// The characters of "+++" may come this far apart, so an escape typed slowly is still one.
constexpr Milliseconds kEscapeCharacterGap{1000};

const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";
const std::string kConnect = "\r\nCONNECT 9600\r\n";
const std::string kNoCarrier = "\r\nNO CARRIER\r\n";

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool StartsWith(const std::string& text, std::string_view prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The number of a dial command: "ATD", an optional P or T, optional blanks, then the number.
std::string DialledNumber(const std::string& upper)
{
    std::string_view rest(upper);
    rest.remove_prefix(3);
    if (!rest.empty() && (rest.front() == 'P' || rest.front() == 'T'))
        rest.remove_prefix(1);
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    return std::string(rest);
}

} // namespace

ModemFront::ModemFront(ModemConfig config, TimerQueue& timers, const FaultSwitches& faults, ModemHost& host)
    : config_(std::move(config)), timers_(timers), faults_(faults), host_(host)
{
}

ModemFront::~ModemFront()
{
    cancelTimers();
}

void ModemFront::portOpened(TimePoint now)
{
    // A modem powered up with the port answers that its SIM card is ready.
    simReadyTimer_ =
        timers_.at(now + config_.simReadyTime, [this] { host_.sendFromModem("\r\n+CPIN: READY\r\n"); });
}

void ModemFront::portClosed()
{
    cancelTimers();
    hangUp();
    commandLine_.reset();
    lastReceived_.reset();
}

void ModemFront::receive(std::string_view bytes, TimePoint now)
{
    while (!bytes.empty()) {
        std::size_t taken = bytes.size();
        switch (state_) {
        case State::Command:
        case State::OnlineCommand:
            taken = receiveCommandBytes(bytes, now);
            break;
        case State::Dialling:
            // Any character aborts a dial that is still ringing; it is not passed on.
            timers_.cancel(dialTimer_);
            state_ = State::Command;
            host_.sendFromModem(kNoCarrier);
            taken = 1;
            break;
        case State::Data:
            receiveDataBytes(bytes, now);
            break;
        }
        bytes.remove_prefix(taken);
    }
    lastReceived_ = now;
}

void ModemFront::loseCarrier()
{
    if (state_ != State::Data && state_ != State::OnlineCommand)
        return;
    host_.sendFromModem(kNoCarrier);
    hangUp();
}

std::size_t ModemFront::receiveCommandBytes(std::string_view bytes, TimePoint now)
{
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        for (const std::string& line : commandLine_.feed(bytes.substr(index, 1)))
            answerCommand(line, now);
        if (state_ != State::Command && state_ != State::OnlineCommand)
            return index + 1;
    }
    return bytes.size();
}

void ModemFront::receiveDataBytes(std::string_view bytes, TimePoint now)
{
    std::string forward;
    for (const char byte : bytes) {
        const bool quietBefore = !lastReceived_ || now - *lastReceived_ >= config_.escapeGuard;
        lastReceived_ = now;
        if (!heldPlus_.empty()) {
            if (byte == '+' && heldPlus_.size() < 3) {
                heldPlus_ += byte;
                restartEscapeGuard(now);
                continue;
            }
            // Not the escape after all: what was held belongs to the device.
            timers_.cancel(escapeTimer_);
            forward += heldPlus_;
            heldPlus_.clear();
            deviceLineStarts_ = false;
        } else if (byte == '+' && deviceLineStarts_ && quietBefore) {
            // Device commands begin with "+" too; only a lone "+++" followed by silence is the escape.
            heldPlus_.assign(1, '+');
            restartEscapeGuard(now);
            continue;
        }
        forward += byte;
        deviceLineStarts_ = byte == '\r' || byte == '\n';
    }
    if (!forward.empty())
        host_.passToDevice(forward, now);
}

void ModemFront::restartEscapeGuard(TimePoint now)
{
    timers_.cancel(escapeTimer_);
    const Milliseconds wait = heldPlus_.size() == 3 ? config_.escapeGuard : kEscapeCharacterGap;
    escapeTimer_ = timers_.at(now + wait, [this] { escapeGuardExpired(); });
}

void ModemFront::escapeGuardExpired()
{
    if (heldPlus_ == "+++") {
        heldPlus_.clear();
        commandLine_.reset();
        state_ = State::OnlineCommand;
        host_.sendFromModem(kOk);
        return;
    }
    host_.passToDevice(heldPlus_, SteadyClock::now());
    heldPlus_.clear();
    deviceLineStarts_ = false;
}

void ModemFront::answerCommand(const std::string& line, TimePoint now)
{
    if (faults_.ignores(line))
        return;
    const std::string echo = line + "\r";
    const std::string upper = UpperCase(line);
    if (faults_.rejects(line)) {
        host_.sendFromModem(echo + kError);
    } else if (upper == "AT" || StartsWith(upper, "AT+CBST=")) {
        host_.sendFromModem(echo + kOk);
    } else if (upper == "ATZ" || upper == "ATH" || upper == "ATH0") {
        host_.sendFromModem(echo + kOk);
        hangUp();
    } else if (upper == "AT+CREG?") {
        host_.sendFromModem(echo + "\r\n+CREG: " + config_.registration + "\r\n" + kOk);
    } else if (upper == "AT+GMR") {
        host_.sendFromModem(echo + "\r\n" + config_.revision + "\r\n" + kOk);
    } else if (StartsWith(upper, "ATD") && state_ == State::Command && !DialledNumber(upper).empty()) {
        host_.sendFromModem(echo);
        dial(now);
    } else if (upper == "ATO" && state_ == State::OnlineCommand) {
        host_.sendFromModem(echo + kConnect);
        state_ = State::Data;
        deviceLineStarts_ = true;
    } else if (StartsWith(upper, "AT")) {
        host_.sendFromModem(echo + kError);
    } else {
        // Text that is no AT command is only echoed, as a modem's command interpreter does.
        host_.sendFromModem(echo);
    }
}

void ModemFront::dial(TimePoint now)
{
    state_ = State::Dialling;
    switch (config_.dialOutcome) {
    case ModemConfig::DialOutcome::Connect:
        dialTimer_ = timers_.at(now + config_.dialTime, [this] {
            host_.sendFromModem(kConnect);
            enterDataMode();
        });
        break;
    case ModemConfig::DialOutcome::Busy:
        dialTimer_ = timers_.at(now + config_.dialTime, [this] {
            host_.sendFromModem("\r\nBUSY\r\n");
            state_ = State::Command;
        });
        break;
    case ModemConfig::DialOutcome::NoAnswer:
        break;
    }
}

void ModemFront::enterDataMode()
{
    state_ = State::Data;
    deviceLineStarts_ = true;
    heldPlus_.clear();
    host_.callStarted();
}

void ModemFront::hangUp()
{
    const bool callUp = state_ == State::Data || state_ == State::OnlineCommand;
    timers_.cancel(escapeTimer_);
    timers_.cancel(dialTimer_);
    heldPlus_.clear();
    state_ = State::Command;
    if (callUp)
        host_.callEnded();
}

void ModemFront::cancelTimers()
{
    timers_.cancel(dialTimer_);
    timers_.cancel(simReadyTimer_);
    timers_.cancel(escapeTimer_);
}

} // namespace devsim
