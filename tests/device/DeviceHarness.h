// A device object with a running link against the emulator, and the test thread playing the
// interface thread: it drains the queue and runs the link's synchronous steps while it waits.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/Clock.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "link/xModem.h"

namespace nvx::test {

class DeviceHarness {
public:
    explicit DeviceHarness(Clock& clock = SystemClock()) : device(queue, clock), clock_(clock)
    {
        device.Calls().BindToCurrentThread();
        mainForm.add("tbtnDisconnect", ControlKind::ToolButton).enabled = true;
        mainForm.setAction("tbtnDisconnect", [this] { ++disconnectClicks; });
        splash.add("Panel2", ControlKind::Panel);
        splash.add("Button1", ControlKind::Button);
        splash.setAction("Button1", [this] { connected = true; });
        device.SetWindows(&mainForm, &splash);
        device.SetHooks({[this] {
                             device.Publish();
                             ++sensorSwitches;
                         },
                         {}, {}});
        targets_.appendLog = [this](const std::string& line) { log.push_back(line); };
        targets_.showMessage = [this](const std::string& text) { messages.push_back(text); };
        targets_.mainForm = &mainForm;
    }

    ~DeviceHarness() { Stop(); }

    void Start(const std::string& port, const std::string& masterKey = "1234", const std::string& phone = {})
    {
        device.SetMasterKeyText(masterKey);
        link = std::make_unique<TModem>(LinkOptions{port, true, true, phone}, &device, &queue,
                                        LinkWindows{&mainForm, &splash}, clock_);
        link->SetEventSink([this](const std::string& event) {
            std::lock_guard lock(eventsMutex);
            events.push_back(event);
        });
        device.SetLink(link.get());
        link->Start();
    }

    void Tick()
    {
        queue.Drain(targets_);
        device.Calls().RunPending();
    }

    // Serves the interface side until `done` holds or `limit` passes; true when it held.
    bool ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
    {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            Tick();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        Tick();
        return done();
    }

    bool Connect(const std::string& port, const std::string& masterKey = "1234", const std::string& phone = {})
    {
        Start(port, masterKey, phone);
        return ServeUntil([this] { return connected || link->Finished(); }, std::chrono::seconds(20)) &&
               connected;
    }

    void Stop()
    {
        if (!link)
            return;
        link->Terminate();
        ServeUntil([this] { return link->Finished(); }, std::chrono::seconds(20));
        link->WaitFor();
        device.SetLink(nullptr);
        link.reset();
    }

    std::string Status() const { return splash.text("Panel2"); }

    bool LogHas(const std::string& tail) const
    {
        for (const auto& line : log)
            if (line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0)
                return true;
        return false;
    }

    TOutArray queue;
    TDevVeltra device;
    FormModel mainForm{"Form1"};
    FormModel splash{"dlgSplash"};
    std::unique_ptr<TModem> link;
    std::vector<std::string> log;
    std::vector<std::string> messages;
    std::mutex eventsMutex;
    std::vector<std::string> events;  // what the link handed to the event decoder
    bool connected = false;
    int sensorSwitches = 0;
    int disconnectClicks = 0;

private:
    Clock& clock_;
    DrainTargets targets_;
};

}  // namespace nvx::test
