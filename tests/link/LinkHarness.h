// A link opened on a port but not started as a thread, with its queue drained into a log the
// test can read. Used on the test's thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/OutArray.h"
#include "link/xModem.h"

namespace nvx::test {

class LinkHarness {
public:
    explicit LinkHarness(const std::string& port, const std::string& phone = {})
    {
        targets_.appendLog = [this](const std::string& line) { log_.push_back(WithoutTimeStamp(line)); };
        link = std::make_unique<TModem>(LinkOptions{port, true, true, phone}, nullptr, &queue, LinkWindows{});
        link->SetEventSink([this](const std::string& event) { events.push_back(event); });
        link->OpenPort();
    }

    // The log lines so far, without their time stamps.
    const std::vector<std::string>& Log()
    {
        queue.Drain(targets_);
        return log_;
    }

    static std::string WithoutTimeStamp(const std::string& line)
    {
        // "dd.MM.yyyy HH:mm:ss " is 20 characters.
        if (line.size() >= 20 && line[2] == '.' && line[5] == '.' && line[13] == ':' && line[19] == ' ')
            return line.substr(20);
        return line;
    }

    TOutArray queue;
    std::unique_ptr<TModem> link;
    std::vector<std::string> events;

private:
    DrainTargets targets_;
    std::vector<std::string> log_;
};

}  // namespace nvx::test
