// The GPRS page: the SIM's GPRS dial string, access point, user name and password, two monitoring
// servers (address, port, identification password), the pause between connection attempts and
// data compression, plus a hidden copy of the channels page's GPRS online switch.
// Defaults, filling and state run on the interface thread; the read and write on the link thread;
// the key filters on any thread.
#pragma once

#include <functional>
#include <string>

#include "pages/fIn.h"

namespace nvx {

class TformGPRS : public TformIncl {
public:
    static constexpr int kPasswordLength = 8;
    static constexpr int kFirstPauseMinutes = 5;
    static constexpr int kLastPauseMinutes = 10;

    TformGPRS();

    // Key filters of the edits: the result is the key, or 0 when the edit ignores it. Backspace
    // always passes.
    static char32_t DialStringKey(char32_t key); // 0-9, "*", "#", "+"
    static char32_t PasswordKey(char32_t key);   // 0-9, Latin letters

    // Empty fields take what the write sends for them: server 2 follows server 1, the rest their
    // defaults.
    void FillEmptyFields();

    bool HasDefaults() const override { return true; }
    void LoadState(const IniFile& ini) override;
    void SaveState(IniFile& ini) override;

    void ReadFromDevice(TDevVeltra& device) override;
    void WriteToDevice(TDevVeltra& device) override;

private:
    // Each returns false when something failed that the page's message should report.
    bool ReadSteps(TDevVeltra& device);
    bool WriteSteps(TDevVeltra& device);
    // A marked query whose value the page decodes with `apply`: a refusal or a value `apply` rejects
    // is logged with the field's message and marked red; an empty value is confirmed as it is.
    void ReadDecoded(TDevVeltra& device, const std::string& command, const char* markName, const char* error,
                     bool& ok, const std::function<bool(const std::string&)>& apply);
    void ReadGprsOnline(TDevVeltra& device, bool& ok);
    void ReadPause(TDevVeltra& device, bool& ok);
    void ReadCompression(TDevVeltra& device, bool& ok);
    bool PasswordsComplete(TDevVeltra& device);
};

} // namespace nvx
