// A panel emulator and the program's shell connected to it over a pty with one settings page
// shown, for the channels and GPRS page tests: the page's read and write commands, what went on
// the wire since the connection, the page's colours and the message log. Test thread.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DevSimProcess.h"
#include "SessionDriver.h"

namespace nvx::test {

class PanelPage {
public:
    // Starts `devsim --device panel` with `arguments` added, connects and shows the page.
    PanelPage(int pageId, const std::vector<std::string>& arguments)
        : sim_(WithPanel(arguments)), pageId_(pageId)
    {
        connected_ = driver_.Connect(sim_.portPath());
        if (!connected_)
            return;
        driver_.session.SelectPage(pageId_);
        connectedAt_ = sim_.wireLog().size();
    }

    // The session ends its link while the driver's log, which the link's last lines go to, lives.
    ~PanelPage() { driver_.session.Disconnect(); }
    PanelPage(const PanelPage&) = delete;
    PanelPage& operator=(const PanelPage&) = delete;

    // For ASSERT_TRUE: the connection and the page are there.
    ::testing::AssertionResult Ready()
    {
        if (!connected_)
            return ::testing::AssertionFailure()
                   << "no connection: " << driver_.session.Splash().text("Panel2");
        if (driver_.session.CurrentPage() == nullptr || driver_.session.CurrentPage()->PageId() != pageId_)
            return ::testing::AssertionFailure() << "page " << pageId_ << " not shown";
        return ::testing::AssertionSuccess();
    }

    FormModel& Form() { return driver_.session.CurrentPage()->Form(); }

    // The window's read and write page commands, run to the end with everything queued shown.
    bool Read()
    {
        return Run([this] { driver_.session.ReadPageCommand(); });
    }
    bool Write()
    {
        return Run([this] { driver_.session.WritePageCommand(); });
    }

    // Every byte the program sent since the connection was made.
    std::string Sent() const { return sim_.wireLog().substr(connectedAt_); }

    // The mark colour: text colour of labels, check boxes and radio buttons, background of edits.
    std::string Colour(const std::string& control)
    {
        const Control c = Form().get(control);
        return c.kind == ControlKind::Edit ? c.color : c.fontColor;
    }

    // The message log, one line per entry, for failure messages.
    std::string Log() const
    {
        std::string all;
        for (const std::string& line : driver_.log)
            all += line + "\n";
        return all;
    }

    SessionDriver& Driver() { return driver_; }

private:
    static std::vector<std::string> WithPanel(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--device", "panel"});
        return arguments;
    }

    template <class Command> bool Run(Command command)
    {
        command();
        const bool done = driver_.WaitForJob();
        driver_.session.Tick();
        return done;
    }

    DevSimProcess sim_; // made before the session and ended after it
    SessionDriver driver_;
    int pageId_;
    bool connected_ = false;
    std::size_t connectedAt_ = 0;
};

// "--set NAME=VALUE" for each preset.
inline std::vector<std::string> Presets(const std::vector<std::pair<std::string, std::string>>& values)
{
    std::vector<std::string> arguments;
    for (const auto& [name, value] : values) {
        arguments.push_back("--set");
        arguments.push_back(name + "=" + value);
    }
    return arguments;
}

} // namespace nvx::test
