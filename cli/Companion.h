// The companion's run: connects through the shell, carries out one request, prints results and
// progress. Main thread, which is the shell's interface thread: every wait keeps calling Tick.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/FormSubscription.h"
#include "cli/Progress.h"
#include "cli/RunOutcome.h"
#include "core/IniFile.h"
#include "shell/Session.h"

namespace nvx::cli {

class Companion {
public:
    // `interrupted` is asked on every pass of a wait; true disconnects and ends the run.
    Companion(Request request, std::ostream& results, Progress& progress, std::function<bool()> interrupted);

    RunOutcome Run();

private:
    enum class JobEnd { Done, LinkLost, Interrupted };

    RunOutcome Prepare();
    RunOutcome LoadProfile();
    RunOutcome Connect();
    RunOutcome CheckDevice();
    RunOutcome ReportSensor();
    RunOutcome WritePetImmunity();
    RunOutcome RunPageJob();
    RunOutcome SaveHistory();
    RunOutcome SaveProfile();

    void StartWatching();
    JobEnd WaitForJob(const std::function<std::string()>& activity);
    std::vector<std::string> PageMessages() const;
    void ApplyChoiceToDialog();
    void OnLogLine(const std::string& line);
    void OnStatus(const std::string& text);

    Request request_;
    std::ostream& results_;
    Progress& progress_;
    std::function<bool()> interrupted_;
    std::optional<IniFile> profile_;
    std::string lastStatus_;
    bool established_ = false;
    bool sensorStateShown_ = false;    // the sensor page showed a state read from the sensor
    std::vector<std::string> jobLog_;  // log lines since the connection or the current job started
    std::vector<std::string> notices_; // messages for the user since the current job started
    // After what its sinks and actions write to, which must outlive the link it stops.
    Session session_;
    std::vector<FormSubscription> subscriptions_; // last: they go before what they write to
};

} // namespace nvx::cli
