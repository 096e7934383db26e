// The alarm panel: answers its version, authorises with the four-digit master key (and ignores key
// attempts for a while after three wrong ones), then reads and writes its settings store. Emulator thread.
#pragma once

#include "Device.h"
#include "PanelGeneralCommands.h"
#include "PanelHistory.h"
#include "PanelRadio.h"

#include <map>
#include <optional>
#include <string>

namespace devsim {

struct PanelConfig {
    std::string version = "14.10.45";
    std::string masterKey = "1234";
    std::chrono::seconds ignoreFor{60};           // after three wrong keys in a row
    std::map<std::string, std::string> overrides; // store values replacing the factory defaults
    std::optional<PanelHistoryConfig> history;    // without it the panel keeps no event history
    PanelRadioConfig radio;                       // how the learn command ends
};

class Panel : public Device {
public:
    explicit Panel(PanelConfig config);

    Reply handle(const std::string& line, TimePoint now) override;
    // A new connection must authorise again and a search for a radio device is forgotten; the count
    // of wrong keys and the ignore time carry on.
    void endSession() override
    {
        authorised_ = false;
        radio_.endSession();
    }
    bool set(const std::string& name, const std::string& value) override;
    // The history's commands ("history N" also gives a panel without a history one) and the radio's.
    bool control(const std::string& verb, const std::string& argument) override;
    // The settings store, and "history" with the number of records when the panel keeps a history.
    std::map<std::string, std::string> state() const override;

private:
    static constexpr int kWrongKeysBeforeIgnore = 3;

    Reply authorise(const std::string& key, TimePoint now);

    PanelConfig config_;
    std::map<std::string, std::string> store_;
    PanelGeneralCommands general_;
    std::optional<PanelHistory> history_;
    PanelRadio radio_;
    bool authorised_ = false;
    int wrongKeysInRow_ = 0;
    TimePoint ignoreUntil_{};
};

} // namespace devsim
