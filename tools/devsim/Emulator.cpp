#include "Emulator.h"

#include "Panel.h"
#include "Sensor.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <poll.h>
#include <stdexcept>
#include <vector>

namespace devsim {

namespace {

// How often a closed port is looked at again: a pty master gives no wake-up when a slave opens.
constexpr Milliseconds kClosedPortPoll{10};

std::unique_ptr<Device> MakeDevice(const Options& options)
{
    if (options.device == Options::DeviceKind::Panel) {
        PanelConfig config = options.panel;
        config.version = *options.version;
        return std::make_unique<Panel>(std::move(config));
    }
    return std::make_unique<Sensor>(*options.version, options.petImmune);
}

// Splits off the first blank-separated word of `text`; `text` keeps the rest without leading blanks.
std::string TakeWord(std::string_view& text)
{
    const auto start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        text = {};
        return {};
    }
    text.remove_prefix(start);
    const auto end = std::min(text.find(' '), text.size());
    std::string word(text.substr(0, end));
    text.remove_prefix(end);
    const auto next = text.find_first_not_of(' ');
    text.remove_prefix(next == std::string_view::npos ? text.size() : next);
    return word;
}

} // namespace

Emulator::Emulator(const Options& options)
    : replyDelay_(options.replyDelay), eventsEvery_(options.eventsEvery),
      eventsAnywhere_(options.eventsAnywhere), pacer_(options.paced), faults_(options.seed),
      device_(MakeDevice(options)), events_(options.eventForm, options.seed + 1),
      spliceRandom_(options.seed + 2), trace_(options.tracePath), stateFile_(options.stateFilePath)
{
    for (const auto& prefix : options.noAnswer)
        faults_.ignore(prefix);
    for (const auto& prefix : options.reject)
        faults_.reject(prefix);
    faults_.setCorruptionRate(options.corruptionRate);
    if (options.dropAfter)
        faults_.dropAfter(*options.dropAfter);
    for (const auto& [name, value] : options.presets) {
        if (!device_->set(name, value))
            throw std::invalid_argument("the device refuses --set " + name + "=" + value);
    }
    if (options.modem) {
        ModemHost& host = *this;
        modem_ = std::make_unique<ModemFront>(options.modemConfig, timers_, faults_, host);
    }
    if (!options.controlPath.empty())
        control_ = std::make_unique<ControlChannel>(options.controlPath);
    if (!options.wireLogPath.empty())
        wireLog_ = std::make_unique<WireLog>(options.wireLogPath);
    if (!stateFile_.update(device_->state()))
        throw std::system_error(errno, std::generic_category(), "cannot write the state file");
    if (eventsEvery_)
        scheduleEvents(SteadyClock::now() + *eventsEvery_);
    trace_.note("serving on " + pty_.slavePath());
}

void Emulator::run(const std::function<bool()>& stopRequested, const sigset_t& waitMask)
{
    while (!stopRequested()) {
        const TimePoint now = SteadyClock::now();
        // Due timers first: a guard time that ran out while input waited still counts as silence.
        timers_.runDue(now);
        serviceInput(now);
        flushOutput(SteadyClock::now());
        waitForWork(waitMask);
    }
    trace_.note("stopped");
}

void Emulator::serviceInput(TimePoint now)
{
    std::string bytes;
    const PtyEndpoint::ReadResult result = pty_.read(bytes);
    if (result != PtyEndpoint::ReadResult::Closed && !portOpen_)
        portOpened(now);
    // Control lines are read after the port: a command the program sent after a control line was
    // written then finds that line applied.
    if (control_) {
        for (const std::string& line : control_->readLines())
            applyControl(line, now);
    }
    if (result == PtyEndpoint::ReadResult::Closed) {
        if (portOpen_)
            portClosed();
        return;
    }
    if (!bytes.empty())
        received(bytes, now);
}

void Emulator::portOpened(TimePoint now)
{
    portOpen_ = true;
    trace_.note("port opened");
    if (modem_)
        modem_->portOpened(now);
}

void Emulator::portClosed()
{
    portOpen_ = false;
    lineFull_ = false;
    trace_.note("port closed");
    output_.clear();
    pacer_.sent(0, true);
    pty_.discardUnread();
    deviceLine_.reset();
    if (modem_)
        modem_->portClosed();
    else
        device_->endSession();
}

void Emulator::received(std::string_view bytes, TimePoint now)
{
    if (wireLog_)
        wireLog_->append(bytes);
    trace_.received(bytes);
    if (modem_)
        modem_->receive(bytes, now);
    else
        passToDevice(bytes, now);
}

void Emulator::passToDevice(std::string_view bytes, TimePoint now)
{
    for (const std::string& line : deviceLine_.feed(bytes))
        answerLine(line, now);
}

void Emulator::answerLine(const std::string& line, TimePoint now)
{
    if (faults_.dropped() || faults_.ignores(line)) {
        trace_.note("no answer to " + TraceLog::Printable(line));
        return;
    }
    std::string answer = line + "\r";
    Reply reply = faults_.rejects(line) ? Reply::err() : device_->handle(line, now);
    answer += FrameReply(reply);
    updateState();
    sendFromDevice(std::move(answer), now);
    for (Reply::Later& later : reply.later) {
        timers_.at(now + replyDelay_ + later.after, [this, produce = std::move(later.produce)] {
            if (!deviceReachable())
                return;
            std::string bytes = produce();
            updateState();
            if (!bytes.empty())
                sendFromDevice(std::move(bytes), SteadyClock::now());
        });
    }
    if (faults_.countAnswer())
        dropLine(now);
}

void Emulator::sendFromDevice(std::string bytes, TimePoint now)
{
    faults_.corrupt(bytes);
    output_.push(now + replyDelay_, std::move(bytes));
}

void Emulator::sendFromModem(std::string bytes)
{
    output_.push(SteadyClock::now() + replyDelay_, std::move(bytes), false);
}

void Emulator::callStarted()
{
    deviceLine_.reset();
    device_->endSession();
}

void Emulator::callEnded()
{
    deviceLine_.reset();
    device_->endSession();
}

bool Emulator::deviceReachable() const
{
    return portOpen_ && !faults_.dropped() && (!modem_ || modem_->inDataMode());
}

void Emulator::scheduleEvents(TimePoint when)
{
    timers_.at(when, [this, when] {
        const TimePoint now = SteadyClock::now();
        if (deviceReachable())
            emitEvent(events_.next(std::chrono::system_clock::now()), now);
        // A running schedule, so the rate does not drift with the loop's latency.
        scheduleEvents(std::max(when + *eventsEvery_, now));
    });
}

void Emulator::emitEvent(std::string lines, TimePoint now)
{
    faults_.corrupt(lines);
    trace_.note("event " + TraceLog::Printable(lines));
    if (eventsAnywhere_)
        output_.splice(std::move(lines), now, spliceRandom_);
    else
        output_.push(now, std::move(lines), false);
}

void Emulator::dropLine(TimePoint now)
{
    faults_.drop();
    trace_.note("line dropped");
    if (modem_)
        modem_->loseCarrier();
    else
        output_.push(now + replyDelay_, "\r\nNO CARRIER\r\n", false);
}

void Emulator::applyControl(const std::string& line, TimePoint now)
{
    trace_.note("control " + TraceLog::Printable(line));
    std::string_view rest(line);
    const std::string verb = TakeWord(rest);
    const std::string argument(rest);
    if (verb == "drop") {
        dropLine(now);
    } else if (verb == "revive") {
        faults_.revive();
    } else if (verb == "event" && !argument.empty()) {
        // "event PAYLOAD [SIGNAL]": a last word starting with "-" is the signal; the payload may hold blanks.
        std::string payload = argument;
        std::string signal;
        if (const auto blank = argument.rfind(' ');
            blank != std::string::npos && argument[blank + 1] == '-') {
            payload = argument.substr(0, blank);
            signal = argument.substr(blank + 1);
        }
        if (deviceReachable())
            emitEvent(EventSource::EventLines(payload, signal), now);
        else
            trace_.note("event not sent: the device has no line");
    } else if (verb == "reject" && !argument.empty()) {
        faults_.reject(argument);
    } else if (verb == "unreject" && !argument.empty()) {
        faults_.stopRejecting(argument);
    } else if (verb == "noanswer" && !argument.empty()) {
        faults_.ignore(argument);
    } else if (verb == "answer" && !argument.empty()) {
        faults_.stopIgnoring(argument);
    } else if (verb == "set" && !argument.empty()) {
        std::string_view valueText(argument);
        const std::string name = TakeWord(valueText);
        if (device_->set(name, std::string(valueText)))
            updateState();
        else
            std::fprintf(stderr, "devsim: the device refuses \"%s\"\n", line.c_str());
    } else if (verb == "delay" && !argument.empty()) {
        unsigned milliseconds = 0;
        const auto [end, error] =
            std::from_chars(argument.data(), argument.data() + argument.size(), milliseconds);
        if (error == std::errc() && end == argument.data() + argument.size())
            replyDelay_ = Milliseconds(milliseconds);
        else
            std::fprintf(stderr, "devsim: bad delay in \"%s\"\n", line.c_str());
    } else if (device_->control(verb, argument)) {
        updateState();
    } else {
        std::fprintf(stderr, "devsim: unknown control command \"%s\"\n", line.c_str());
    }
}

void Emulator::flushOutput(TimePoint now)
{
    for (const std::string& chunk : output_.release(now))
        trace_.sent(chunk);
    if (!portOpen_) {
        output_.clear();
        return;
    }
    std::size_t allowed = pacer_.allowance(now, output_.releasedSize());
    lineFull_ = false;
    while (allowed > 0 && !lineFull_) {
        const std::string_view next = output_.nextReleased().substr(0, allowed);
        const std::size_t written = pty_.write(next);
        output_.consume(written);
        allowed -= written;
        lineFull_ = written < next.size();
        pacer_.sent(written, output_.releasedSize() == 0);
    }
}

void Emulator::waitForWork(const sigset_t& waitMask)
{
    const TimePoint now = SteadyClock::now();
    std::optional<TimePoint> wake = timers_.next();
    const auto earliest = [&wake](std::optional<TimePoint> candidate) {
        if (candidate && (!wake || *candidate < *wake))
            wake = candidate;
    };
    earliest(output_.nextRelease());
    if (output_.releasedSize() > 0 && !lineFull_)
        earliest(pacer_.nextSlot());
    if (!portOpen_)
        earliest(now + kClosedPortPoll);

    std::vector<pollfd> watched;
    if (portOpen_)
        watched.push_back({pty_.fd(), static_cast<short>(POLLIN | (lineFull_ ? POLLOUT : 0)), 0});
    if (control_)
        watched.push_back({control_->fd(), POLLIN, 0});

    timespec timeout{};
    if (wake) {
        const auto wait = std::max(Duration::zero(), *wake - now);
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
        timeout.tv_sec = seconds.count();
        timeout.tv_nsec = std::chrono::duration_cast<std::chrono::nanoseconds>(wait - seconds).count();
    }
    ::ppoll(watched.data(), watched.size(), wake ? &timeout : nullptr, &waitMask);
    if (lineFull_ && !watched.empty() && (watched.front().revents & POLLOUT) != 0)
        lineFull_ = false;
}

void Emulator::updateState()
{
    if (!stateFile_.update(device_->state()))
        std::perror("devsim: state file");
}

} // namespace devsim
