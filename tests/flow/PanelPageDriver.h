// The program connected to an emulated panel on a pty and showing one of its pages: runs the page's
// commands, waits for their jobs and reads back the command lines they put on the wire. Test thread.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "DevSimProcess.h"
#include "SessionDriver.h"

namespace nvx::test {

template <class PageForm>
class PanelPageDriver {
public:
    // Starts the emulator as a panel with `panelOptions` followed by the test's own `arguments`.
    // Open() connects: a fixture may prepare the page before.
    PanelPageDriver(int pageId, const std::vector<std::string>& arguments,
                    std::initializer_list<std::string> panelOptions = {})
        : sim(PanelArguments(arguments, panelOptions)), pageId_(pageId)
    {
    }

    void Open()
    {
        connected = d.Connect(sim.portPath());
        d.session.SelectPage(pageId_);
    }

    PageForm& page() { return dynamic_cast<PageForm&>(*d.session.Page(pageId_)); }
    FormModel& form() { return page().Form(); }

    // Starts a window command that sets a job; Finish() waits until it has run and its results show.
    void Start(const std::function<void()>& command)
    {
        MarkWire();
        d.log.clear();
        d.messages.clear();
        command();
    }
    bool Finish()
    {
        const bool done = d.WaitForJob();
        d.session.Tick();
        return done;
    }
    bool Run(const std::function<void()>& command)
    {
        Start(command);
        return Finish();
    }
    bool Read() { return Run([this] { d.session.ReadPageCommand(); }); }
    bool Write() { return Run([this] { d.session.WritePageCommand(); }); }

    // The command lines the program sent since the last command, without the keep-alive.
    std::vector<std::string> Sent() const
    {
        const std::string wire = sim.wireLog().substr(wireMark_);
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = wire.find('\r', start)) != std::string::npos; start = end + 1) {
            std::string line = wire.substr(start, end - start);
            if (line != "+l" && line != "+c1")
                lines.push_back(std::move(line));
        }
        return lines;
    }
    // Of those, the ones of the commands with any of `prefixes`: what one page sends among its companions'.
    std::vector<std::string> SentStartingWith(std::initializer_list<std::string> prefixes) const
    {
        std::vector<std::string> lines;
        for (std::string& line : Sent())
            if (std::any_of(prefixes.begin(), prefixes.end(),
                            [&line](const std::string& prefix) { return line.rfind(prefix, 0) == 0; }))
                lines.push_back(std::move(line));
        return lines;
    }
    int Count(const std::string& line) const
    {
        const std::vector<std::string> lines = Sent();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    bool LogHas(const std::string& text) const { return d.LogHas(text); }
    int LogCount(const std::string& text) const
    {
        int count = 0;
        for (const std::string& line : d.log)
            count += line.find(text) != std::string::npos;
        return count;
    }

    DevSimProcess sim;
    SessionDriver d;
    bool connected = false;

protected:
    void MarkWire() { wireMark_ = sim.wireLog().size(); }

private:
    static std::vector<std::string> PanelArguments(const std::vector<std::string>& arguments,
                                                   std::initializer_list<std::string> panelOptions)
    {
        std::vector<std::string> all{"--device", "panel"};
        all.insert(all.end(), panelOptions);
        all.insert(all.end(), arguments.begin(), arguments.end());
        return all;
    }

    int pageId_;
    std::size_t wireMark_ = 0;
};

}  // namespace nvx::test
