// The device object of this family: what the connection learned, the flags that coordinate
// multi-step work, the exchange helpers every page uses, the job table, the connect job, the
// keep-alive and the page dispatch. Jobs and helpers run on the link thread (or on the
// interface thread while the link thread waits in a synchronous call); flags are atomics.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "core/Clock.h"
#include "core/InterfaceCalls.h"
#include "core/OutArray.h"
#include "device/PageDirectory.h"
#include "device/device.h"

namespace nvx {

class TModem;

// What the window does for the connect job on the interface thread.
struct DeviceHooks {
    // Publishes the device type and firmware version and, for a motion sensor, switches the
    // window to its page (reading the sensor's state). Without it only the publishing happens.
    std::function<void()> switchToSensorPage;
    // Whether the page tree holds a node with this identifier (read all skips 45 and 500).
    std::function<bool(int pageId)> treeHasNode;
    // The firmware-from-file resume point is reset by a direct connection.
    std::function<void()> resetFirmwareResumePoint;
};

class TDevVeltra : public TDevice {
public:
    static constexpr int kNotPublished = 999;

    explicit TDevVeltra(TOutArray& queue, Clock& clock = SystemClock());

    // Set up by the window (interface thread, no link running).
    void SetWindows(FormModel* mainForm, FormModel* splash);
    // The main window's model: pages that end the link run its connect and disconnect commands.
    FormModel* MainWindow() const { return mainForm_; }
    PageDirectory& Pages() { return pages_; }
    InterfaceCalls& Calls() { return calls_; }
    void SetHooks(DeviceHooks hooks) { hooks_ = std::move(hooks); }
    // The online event decoder: gets each unsolicited event the link cuts out (payload, CR LF,
    // signal value). Set once at start-up by the page that shows them; runs on the link thread.
    void SetEventDecoder(std::function<void(const std::string&)> decoder) { eventDecoder_ = std::move(decoder); }
    void DecodeEvent(const std::string& event)
    {
        if (eventDecoder_)
            eventDecoder_(event);
    }
    // A page job (history paging, enrolment, ...) by job code; `resetsCode` false for jobs that
    // end the link themselves and leave the code as it is.
    void RegisterJob(std::uint8_t code, std::function<void()> operation, bool resetsCode = true);

    // The link of the current connection, set before it starts and cleared when it is freed.
    void SetLink(TModem* link) { link_ = link; }
    TModem* Link() const { return link_; }
    bool LinkStopping() const;
    void SetMasterKeyText(const std::string& text);

    // TDevice
    void ReadPage() override;
    void WritePage() override;
    void ReadAll() override;
    void WriteAll() override;
    void RunJob(std::uint8_t code) override;

    // Exchange helpers.
    bool Exchange(const std::string& command, std::string& value, bool log, const std::string& terminator,
                  std::uint32_t timeoutMs, int attempts);
    bool QueryNoError(const std::string& command, std::string& value);
    bool QueryOK(const std::string& command, std::string& value);
    bool ExchangeMarked(const std::string& command, const ControlRef& marked, std::string& value);
    bool ReadValue(const std::string& command, std::string& value);
    bool WriteValue(const std::string& command);
    bool ReadToEdit(const ControlRef& edit, const std::string& command, const ControlRef& marked,
                    std::string& value);
    bool ReadHexToEdit(const ControlRef& edit, const std::string& command, const ControlRef& marked);
    bool WriteFromEdit(const ControlRef& edit, const std::string& prefix, int width, const ControlRef& marked);
    bool WriteHexFromEdit(const ControlRef& edit, const std::string& prefix, int digits,
                          const ControlRef& marked);

    // Marks: the colour a control takes while its value is exchanged.
    void MarkPending(const ControlRef& control);
    void MarkConfirmed(const ControlRef& control);
    void MarkFailed(const ControlRef& control);

    void LockCommands();
    void UnlockCommands();

    // Connection.
    bool Authorise(const std::string& masterKeyText, std::string& reason);
    // Copies device type and firmware version to the values the pages read (interface thread).
    void Publish();

    TOutArray& Queue() { return queue_; }
    void Log(const std::string& text);
    bool AllPages() const { return allPages_; }

    // What the last connection learned (written by the link thread during connect).
    std::string versionString;
    std::uint16_t deviceType = 0;
    std::uint16_t firmwareVersion = 0;
    std::string chipName;
    std::string hardwareVariant;
    int processorSelector = 1;
    int boardSelector = 1;
    int dkSelector = 1;

    // The values the pages read; 999 until the first connection publishes them.
    std::atomic<int> publishedType{kNotPublished};
    std::atomic<int> publishedVersion{kNotPublished};

    std::atomic<bool> keepAliveSuspended{false};
    std::atomic<bool> filterMode{false};
    std::atomic<bool> onlineLogConnected{false};
    std::atomic<int> historyPosition{-1};
    std::atomic<int> lastConverterReading{0};

private:
    void Connect();
    void FinishConnect();
    bool ConnectPanel();
    void KeepAlive();
    void KeepAliveExchange();
    void ReadConverter();
    void RunAllPages(bool reading);
    void ShowPageAndSelect(IDevicePage& page, const std::string& treeCommand);
    bool RunOnInterfaceThread(const std::function<void()>& step);
    void ResetJob();
    void PostPageButtons(bool enabled);
    void PostMenus(bool enabled);
    void SetStatus(const std::string& text);
    void StopLink();

    TOutArray& queue_;
    Clock& clock_;
    FormModel* mainForm_ = nullptr;
    FormModel* splash_ = nullptr;
    PageDirectory pages_;
    InterfaceCalls calls_;
    DeviceHooks hooks_;
    std::function<void(const std::string&)> eventDecoder_;
    std::map<std::uint8_t, std::pair<std::function<void()>, bool>> jobs_;
    std::atomic<TModem*> link_{nullptr};
    std::mutex masterKeyMutex_;
    std::string masterKeyText_;
    std::atomic<bool> allPages_{false};
    std::int64_t lastKeepAlive_ = 0;
    std::int64_t connectTime_ = 0;
    int keepAliveIntervalSeconds_ = 5;
    std::int64_t converterTime_ = 0;
};

// The panel mode text of the "+l" answer.
std::string ModeText(const std::string& value);

}  // namespace nvx
