// The general settings page: object number, master key, panel clock, GSM quality, outputs,
// alarm buttons, sirens, keypad lock and buzzer, and the buttons that synchronise the clock and
// start, stop, restart and test the panel. Page rules run on the interface thread; the read,
// the write and the button jobs on the link thread.
#pragma once

#include <cstdint>

#include "pages/fIn.h"

namespace nvx {

class TformCommon : public TformIncl {
public:
    static constexpr std::uint8_t kJobSyncClock = 8;
    static constexpr std::uint8_t kJobStartPanel = 14;
    static constexpr std::uint8_t kJobStopPanel = 21;
    static constexpr std::uint8_t kJobRestartPanel = 24;
    static constexpr std::uint8_t kJobLampTest = 25;

    // Registers the button jobs with the device.
    explicit TformCommon(TDevVeltra& device);
    ~TformCommon() override;

    void ReadFromDevice(TDevVeltra& device) override;
    void WriteToDevice(TDevVeltra& device) override;

    // A read of this page alone keeps what the page shows until new values arrive.
    bool EmptiedBeforeRead() const override { return false; }
    bool HasDefaults() const override { return true; }
    void SetDefaults() override;
    void LoadState(const IniFile& ini) override;

    // The hand-made switches of the program's own settings file, read once at start-up (never
    // from a profile): [Buttons] CButtons shows start, stop and restart, [formCommon] showOuts
    // the outputs group.
    void ApplyProgramSwitches(const IniFile& settings);

    // The user left the master key field; an empty one takes the default key.
    void MasterKeyFieldLeft();

private:
    // Each returns false when a value that cannot be decoded ends the operation; `unusable` is
    // set when a step's value was refused or malformed and its fields were left as they were.
    bool ReadSettings(TDevVeltra& device, bool& unusable);
    bool WriteSettings(TDevVeltra& device, bool& refused);

    void ApplyOutputControlRule();
    void ApplyLockTimeRule();
    void RequestJob(std::uint8_t code);
    void ReconnectIfRestarted(const std::string& controlName);
    ControlRef Ref(const char* name) { return {&form_, name}; }

    TDevVeltra& device_;
    int pageSubscription_ = 0;
    int windowSubscription_ = 0;
    bool reconnectAfterRestart_ = false;  // interface thread
};

}  // namespace nvx
