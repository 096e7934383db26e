// Drives the program's shell headless the way the window does: the test thread is the
// interface thread, ticking the drain while it waits. Used on the test's thread.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "shell/Session.h"

namespace nvx::test {

class SessionDriver {
public:
    SessionDriver()
    {
        session.SetLogSink([this](const std::string& line) { log.push_back(line); });
        session.SetMessageSink([this](const std::string& text) { messages.push_back(text); });
        session.Splash().setAction("Button1", [this] { connected = true; });
        session.BuildTree();
    }

    bool ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
    {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            session.Tick();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        session.Tick();
        return done();
    }

    bool Connect(const std::string& port)
    {
        session.ConnectDialog().setText("ComPorts", port);
        session.BeginConnect(session.ChoiceFromDialog());
        bool ok = ServeUntil([this] { return connected || session.Link()->Finished(); }, std::chrono::seconds(20));
        if (ok && connected)
            session.ConnectionEstablished();
        return ok && connected;
    }

    // Waits until the job the window set has run and what it queued is shown.
    bool WaitForJob()
    {
        return ServeUntil([this] { return !session.Link() || session.Link()->Job() == 0; }, std::chrono::seconds(60));
    }

    void Press() { session.SensorPage().Form().trigger("CatButton"); }

    bool LogHas(const std::string& part) const
    {
        for (const auto& line : log)
            if (line.find(part) != std::string::npos)
                return true;
        return false;
    }

    // Declared before the session: its destructor stops the link, which still logs.
    std::vector<std::string> log;
    std::vector<std::string> messages;
    bool connected = false;
    Session session;
};

}  // namespace nvx::test
