// The program's shell without widgets: it owns the update queue, the device object, the pages
// and the current link, and runs the main window's commands (connect, disconnect, read, write,
// read all, write all, defaults, stop), page navigation, the motion-sensor switch and the
// connection settings. The window and the command-line companion both drive it.
// Everything runs on the interface thread (the thread that created it).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/IniFile.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "link/xModem.h"
#include "pages/f_MessageDlg.h"
#include "pages/f_NVX.h"
#include "pages/fIn.h"

namespace nvx {

struct ConnectionChoice {
    std::string portText;  // the port is its first blank-free run: "ttyUSB0 (adapter)" or a path
    bool modem = false;
    std::string phone;
    std::string masterKey;
};

// The port a port text names.
std::string PortNameOf(const std::string& portText);

class Session {
public:
    explicit Session(Clock& clock = SystemClock());
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    TOutArray& Queue() { return queue_; }
    TDevVeltra& Device() { return device_; }
    FormModel& MainForm() { return *mainForm_; }
    FormModel& Splash() { return *splash_; }
    FormModel& ConnectDialog() { return *connectDialog_; }
    // The enrolment dialog the radio sensors and keyfobs pages show during a search.
    TformMessageDlg& MessageDialog() { return *messageDialog_; }
    TFormNVX& SensorPage() { return *sensorPage_; }
    const std::vector<TformIncl*>& Pages() const { return pages_; }
    TformIncl* Page(int pageId) const;
    TformIncl* CurrentPage() const;
    TModem* Link() const { return link_.get(); }
    bool LinkExists() const { return link_ != nullptr; }

    // Where log lines and message boxes go; the window shows them, the companion prints them.
    void SetLogSink(std::function<void(const std::string&)> sink) { targets_.appendLog = std::move(sink); }
    void SetMessageSink(std::function<void(const std::string&)> sink) { targets_.showMessage = std::move(sink); }
    void SetRtsPower(bool on) { rtsPower_ = on; }
    bool RtsPower() const { return rtsPower_; }

    // Applies what the link queued and runs the steps it waits for (the 100 ms drain).
    void Tick();

    // The start-up tree: every page node, the motion-sensor node selected, the tree hidden.
    void BuildTree();
    void ShowPage(TformIncl& page);
    void SelectPage(int pageId);

    // Connect command, steps after the dialog: the link is created and started. The progress
    // window then waits for "Button1" of the splash model (connected) or is cancelled.
    void BeginConnect(const ConnectionChoice& choice);
    ConnectionChoice ChoiceFromDialog() const;
    void ConnectionEstablished();
    void ConnectionCancelled();
    void Disconnect();

    void ReadPageCommand();
    void WritePageCommand();
    void ReadAllCommand();
    void WriteAllCommand();
    void StopCommand();
    void DefaultsCommand();
    void DefaultsAllCommand();
    void ToggleRelayNodes();
    void ToggleFilterMode();

    void LoadConnectionSettings(const IniFile& ini);
    void SaveConnectionSettings(IniFile& ini);

    // Interface thread, while the link thread waits: publish the device and, for a motion
    // sensor, read its state and show its page alone.
    void SwitchToSensorPage();

private:
    void AddPage(std::unique_ptr<TformIncl> page);
    void OnTreeChanged();
    void StopLinkAndWait();
    void SetCommandsForConnection(bool connected);
    void SetJob(std::uint8_t code);

    Clock& clock_;
    TOutArray queue_;
    TDevVeltra device_;
    std::unique_ptr<FormModel> mainForm_;
    std::unique_ptr<FormModel> splash_;
    std::unique_ptr<FormModel> connectDialog_;
    std::unique_ptr<TformMessageDlg> messageDialog_;  // created before the pages that use it
    std::vector<std::unique_ptr<TformIncl>> ownedPages_;
    std::vector<TformIncl*> pages_;
    TFormNVX* sensorPage_ = nullptr;
    std::unique_ptr<TModem> link_;
    DrainTargets targets_;
    bool rtsPower_ = true;
    bool waitingForLink_ = false;
};

}  // namespace nvx
