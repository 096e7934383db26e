#include "shell/ConnectDialogRules.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

#include "shell/Session.h"
#include "shell/WindowModels.h"
#include "tests/support/DevSimProcess.h"

namespace nvx {
namespace {

using Ports = std::vector<std::string>;

// A pseudo-terminal that never answers: the test holds its master end and only listens.
class SilentPty {
public:
    SilentPty() : master_(::posix_openpt(O_RDWR | O_NOCTTY))
    {
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        path_ = ::ptsname(master_);
    }
    ~SilentPty() { ::close(master_); }
    SilentPty(const SilentPty&) = delete;
    SilentPty& operator=(const SilentPty&) = delete;

    const std::string& path() const { return path_; }

    // What the program wrote to the port, waiting up to a second for the first bytes.
    std::string received() const
    {
        std::string bytes;
        pollfd readable{master_, POLLIN, 0};
        while (::poll(&readable, 1, bytes.empty() ? 1000 : 50) > 0) {
            char buffer[64];
            const ssize_t count = ::read(master_, buffer, sizeof buffer);
            if (count <= 0)
                break;
            bytes.append(buffer, static_cast<std::size_t>(count));
        }
        return bytes;
    }

private:
    int master_;
    std::string path_;
};

std::vector<std::string> DrainLog(TOutArray& queue)
{
    std::vector<std::string> lines;
    DrainTargets targets;
    targets.appendLog = [&](const std::string& line) { lines.push_back(line); };
    queue.Drain(targets);
    return lines;
}

TEST(PortSearch, StopsAtTheFirstPortThatAnswersAndLabelsIt)
{
    const struct {
        const char* name;
        std::vector<std::string> emulator;
        bool modem;
        bool answeringFirst;
        std::string probeOnWire;
        std::string label;
    } cases[] = {
        {"sensor behind a silent port", {}, false, false, "+v\r", "14.3.40"},
        {"modem behind a silent port", {"--modem"}, true, false, "AT+GMR\r", "SIM900"},
        {"sensor before a silent port", {}, false, true, "+v\r", "14.3.40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::DevSimProcess emulator(c.emulator);
        SilentPty silent;
        TOutArray queue;
        PortProbe probe;
        probe.queue = &queue;
        probe.modem = c.modem;
        const Ports ports = c.answeringFirst ? Ports{emulator.portPath(), silent.path()}
                                             : Ports{silent.path(), emulator.portPath()};
        Ports probed;

        const auto found =
            SearchPorts(probe, ports, [&](const std::string& port) { probed.push_back(port); });

        EXPECT_EQ(found, emulator.portPath() + " (" + c.label + ")") << emulator.trace();
        EXPECT_EQ(emulator.wireLog(), c.probeOnWire);
        EXPECT_EQ(probed, c.answeringFirst ? Ports{emulator.portPath()} : ports);
        EXPECT_EQ(silent.received(), c.answeringFirst ? "" : c.probeOnWire);
    }
}

TEST(PortSearch, NothingAnsweringLeavesAnEmptyListAndTheWarning)
{
    SilentPty silent;
    TOutArray queue;
    PortProbe probe;
    probe.queue = &queue;
    auto dialog = BuildConnectDialogModel();
    FillPortList(*dialog, {"ttyS0", "ttyUSB0"});
    const Ports ports{"/dev/nvx-no-such-port", silent.path()};
    std::vector<int> progressSeen;

    const SearchOutcome outcome = SearchFromDialog(*dialog, probe, ports, [&] {
        EXPECT_TRUE(dialog->visible("ProgressBar1"));
        progressSeen.push_back(dialog->get("ProgressBar1").value);
    });

    EXPECT_FALSE(outcome.pressOk);
    EXPECT_EQ(outcome.warning, "Устройство не найдено");
    const Control list = dialog->get("ComPorts");
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(list.text, "");
    EXPECT_FALSE(dialog->visible("ProgressBar1"));
    EXPECT_EQ(dialog->get("ProgressBar1").maximum, 2);
    EXPECT_EQ(progressSeen, (std::vector<int>{0, 1, 2}));
    // The port that would not open is logged, and the search went on to the next one.
    const auto log = DrainLog(queue);
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.find(" # !!! Ошибка открытия COM порта: ") != std::string::npos;
    }));
    EXPECT_EQ(silent.received(), "+v\r");
}

TEST(PortSearch, TheAnsweringDeviceBecomesTheChosenPort)
{
    test::DevSimProcess emulator;
    TOutArray queue;
    PortProbe probe;
    probe.queue = &queue;
    auto dialog = BuildConnectDialogModel();
    FillPortList(*dialog, {"ttyS0"});

    const SearchOutcome outcome = SearchFromDialog(*dialog, probe, {emulator.portPath()});

    EXPECT_TRUE(outcome.pressOk);
    EXPECT_EQ(outcome.warning, "");
    const std::string item = emulator.portPath() + " (14.3.40)";
    const Control list = dialog->get("ComPorts");
    EXPECT_EQ(list.items, Ports{item});
    EXPECT_EQ(list.index, 0);
    EXPECT_EQ(list.text, item);
    EXPECT_EQ(PortNameOf(list.text), emulator.portPath());
}

} // namespace
} // namespace nvx
