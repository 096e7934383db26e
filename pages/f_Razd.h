// The partitions page: the six partitions with their flags and exit delays, the partition-wide
// siren, event-count, EXIT-button and fire settings, and the fire and 24-hour rules that reach
// the loops, radio sensors and keyfobs pages. Rules run on the interface thread; the read and
// the write on the link thread.
#pragma once

#include <array>
#include <atomic>
#include <map>
#include <string>

#include "pages/RazdWire.h"
#include "pages/fIn.h"

namespace nvx {

class TformShleif;

class TformRazd : public TformIncl {
public:
    static constexpr int kPartitions = 6;

    explicit TformRazd(TDevVeltra& device);
    ~TformRazd() override;

    void ReadPartitionSettings(TDevVeltra& device);   // link thread
    void WritePartitionSettings(TDevVeltra& device);  // link thread (includes the keyfob steps 1 and 10)
    void ApplyProgramSwitches(const IniFile& settings);  // [formRazd] showQuickEmpty/showPF/showFire/showRazd
    std::string ExitDelayText(int partition) const;   // "meIN"+p, e.g. "030"
    bool IsTwentyFourHour(int partition) const;
    bool IsFire(int partition) const;
    void EnableFireFlags();                           // loops made resistive
    void ApplyRules();                                // re-apply fire/24-hour rules, then keyfob check
    void ResetPartitionRows(bool resistiveLoops);     // the partition-row reset the loop defaults share

    void ReadFromDevice(TDevVeltra& device) override;
    void WriteToDevice(TDevVeltra& device) override;

    // The pre-read reset: wait-for-empty-log, 24-hour and siren flags cleared and enabled, fire
    // flags cleared, exit delays "000". Also the preparation of a read of this page alone.
    void ClearForRead() override;
    void PrepareRead() override { ClearForRead(); }
    bool HasDefaults() const override { return true; }
    void SetDefaults() override;
    // The saved values, then the start-up fire and 24-hour adjustments; the rules run from then on.
    void LoadState(const IniFile& ini) override;

    // Control names of partition p (1..6).
    static std::string StateName(int p);            // "etState1"
    static std::string QuickName(int p);            // "cbQuick11"
    static std::string Quick2Name(int p);           // "cbQuick21"
    static std::string EmptyLogName(int p);         // "cbEmpty1"
    static std::string SirenName(int p);            // "cbSiren1"
    static std::string Ok2Name(int p);              // "ko1"
    static std::string TwentyFourHourName(int p);   // "cb24h1"
    static std::string FireName(int p);             // "cbFire1"
    static std::string ExitDelayName(int p);        // "meIN1"
    static std::string RowNumberName(int p);        // "cbR1"
    static std::string FirePossibilityName(int p);  // "pp1"
    static std::string ExitButtonName(int p);       // "CheckBox1"

private:
    void ReadSettings(TDevVeltra& device);   // throws on a value it cannot decode
    bool WriteSettings(TDevVeltra& device);  // false when a partition record was not taken
    PartitionRecord RecordToSend(int p) const;

    void OnChanged(const std::string& name);
    // Rewrites the field's text when it is not settled yet; true when it already was.
    bool Normalise(const std::string& name, std::string (*normalise)(const std::string&));
    void CheckBoxChanged(const std::string& name, bool checked);
    void FireRule(int p, bool on);
    void TwentyFourHourRule(int p, bool on);
    // What a 24-hour change does on the radio sensors, wired loops and keyfobs pages.
    void TwentyFourHourEffects(int p, bool on);
    void PageShown();
    void ApplyExitDelayRule(int p);
    void UpdateWarning();
    void CheckKeyfobs();
    TformShleif* Loops() const;
    std::string GuardedStateText(int p) const;
    ControlRef Ref(const std::string& name) { return {&form_, name}; }

    TDevVeltra& device_;
    int subscription_ = 0;
    std::array<std::atomic<int>, kPartitions> lastState_{};  // written by the link thread
    std::map<std::string, bool> lastChecked_;  // check boxes as last seen, to run rules on changes only
    bool rulesActive_ = false;  // set once the start-up load has run
    bool shown_ = false;
};

}  // namespace nvx
