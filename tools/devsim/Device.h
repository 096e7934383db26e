// The device behind the line: answers one command line at a time and holds the values the program reads
// and writes. The echo and the line framing are added by the emulator. Emulator thread.
#pragma once

#include "SteadyTime.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace devsim {

// What the device answers to one command.
struct Reply {
    enum class Kind { Value, Ok, Err, Ign, Silent };
    // What the device sends later on its own (a learn mode's verdict): the bytes `produce` gives when
    // `after` has passed, if the line is still up; nothing when they are empty.
    struct Later {
        Milliseconds after;
        std::function<std::string()> produce;
    };

    Kind kind = Kind::Err;
    std::string value; // for Kind::Value
    std::vector<Later> later;

    static Reply withValue(std::string text) { return make(Kind::Value, std::move(text)); }
    static Reply ok() { return make(Kind::Ok); }
    static Reply err() { return make(Kind::Err); }
    static Reply ign() { return make(Kind::Ign); }
    static Reply silent() { return make(Kind::Silent); } // the echo alone

private:
    static Reply make(Kind kind, std::string value = {})
    {
        Reply reply;
        reply.kind = kind;
        reply.value = std::move(value);
        return reply;
    }
};

// The bytes that follow the echo: value CR LF "OK" CR LF for a query, "OK", "ERR" or "IGN" with CR LF,
// nothing for a silent reply.
std::string FrameReply(const Reply& reply);

class Device {
public:
    virtual ~Device() = default;

    // Answers one command line (without its line end).
    virtual Reply handle(const std::string& line, TimePoint now) = 0;
    // The line was closed or the call hung up: forget what belongs to one connection.
    virtual void endSession() {}
    // Changes a held value from outside (control channel, start-up presets); false when refused.
    virtual bool set(const std::string& name, const std::string& value) = 0;
    // A control command of the device's own ("history 40", ...); false when it is not one.
    virtual bool control(const std::string& /*verb*/, const std::string& /*argument*/) { return false; }
    // Everything the device holds, for the state file.
    virtual std::map<std::string, std::string> state() const = 0;
};

} // namespace devsim
