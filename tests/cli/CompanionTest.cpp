// nvx-cli as installers run it, against the device emulator on a pseudo-terminal: what it
// prints, how it exits, and exactly what it sends to the device.
#include "CliProcess.h"

#include "core/Codec.h"
#include "tests/support/DevSimProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <csignal>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

namespace nvx::test {
namespace {

constexpr const char* kSensorConnect = "+v\r+pAVCP\r";
constexpr const char* kOnWrites = "+pA=11\r+pV=14\r+pC=061E\r+pP=03\r";
constexpr const char* kOffWrites = "+pA=06\r+pV=07\r+pC=0614\r+pP=03\r";
constexpr const char* kReadBack = "+pAVCP\r";
constexpr const char* kOffLine = "Датчик NVX, версия 14.3.40: защита от животных выключена\n";
constexpr const char* kOnLine = "Датчик NVX, версия 14.3.40: защита от животных включена\n";
constexpr const char* kNoSuchPort = "/dev/nvx-no-such-port";

std::string Cat(std::initializer_list<const char*> parts)
{
    std::string text;
    for (const char* part : parts)
        text += part;
    return text;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> With(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

struct Case {
    const char* name;
    std::optional<std::vector<std::string>> device; // emulator arguments; none: no device at all
    std::vector<std::string> arguments;             // after --port
    int exitCode;
    std::optional<std::string> out; // the whole result stream, when it is known
    std::string errContains;
    std::optional<std::string> wire; // everything sent to the device
    std::string neverSent;
};

TEST(CliCompanion, ConnectsActsAndReports)
{
    using Args = std::vector<std::string>;
    const Args sensor;
    const Args panel = {"--device", "panel", "--master-key", "4321"};
    // clang-format off
    const std::vector<Case> cases = {
        {"status, pet immunity off", sensor, {"--status"}, 0, kOffLine, "СОЕДИНЕНИЕ УСТАНОВЛЕНО",
         kSensorConnect, {}},
        {"status, pet immunity on", Args{"--pet-immune"}, {"--status"}, 0, kOnLine, {}, kSensorConnect, {}},
        {"switch on", sensor, {"--pet-immunity", "on"}, 0, kOnLine, {},
         Cat({kSensorConnect, kOnWrites, kReadBack}), {}},
        {"switch off", Args{"--pet-immune"}, {"--pet-immunity", "off"}, 0, kOffLine, {},
         Cat({kSensorConnect, kOffWrites, kReadBack}), {}},
        // The sensor keeps A, V and P but not C, so it reads back as off.
        {"sensor refuses C", Args{"--reject", "+pC="}, {"--pet-immunity", "on"}, 5, kOffLine,
         "Не удалось записать настройку в датчик", {}, {}},
        {"log on request", sensor, {"--status", "--verbose"}, 0, kOffLine, "-> com: +pAVCP", {}, {}},
        {"sensor action on a panel", panel, {"--master-key", "4321", "--pet-immunity", "on"}, 4, "",
         "только с датчиком NVX", {}, "+p"},
        {"panel action on a sensor", sensor, {"--read-all"}, 4, "", "только с панелью", kSensorConnect, {}},
        {"wrong master key", panel, {"--master-key", "1234", "--read-all"}, 3, "", "Неверный мастер-ключ!",
         {}, "+l\r"},
        {"right master key", panel, {"--master-key", "4321", "--read-all"}, 0, std::nullopt,
         "Чтение всех параметров завершено!", {}, {}},
        {"no such port", std::nullopt, {"--status"}, 3, "",
         std::string("Ошибка при открытии COM порта: ") + kNoSuchPort, {}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<DevSimProcess> device;
        if (c.device)
            device.emplace(*c.device);
        const CliResult result =
            RunCli(With({"--port", device ? device->portPath() : kNoSuchPort}, c.arguments));
        const std::string trace = "stderr:\n" + result.err + (device ? "\ntrace:\n" + device->trace() : "");
        EXPECT_EQ(result.exitCode, c.exitCode) << trace;
        if (c.out) {
            EXPECT_EQ(result.out, *c.out) << trace;
        }
        EXPECT_NE(result.err.find(c.errContains), std::string::npos) << trace;
        EXPECT_EQ(result.err.find('\x1b'), std::string::npos) << "no cursor control when not on a terminal";
        if (c.wire) {
            EXPECT_EQ(device->wireLog(), *c.wire);
        }
        if (!c.neverSent.empty()) {
            EXPECT_EQ(device->wireLog().find(c.neverSent), std::string::npos) << device->wireLog();
        }
    }
}

class CliProfile : public ::testing::Test {
protected:
    DevSimProcess panel{{"--device", "panel", "--master-key", "4321"}};
    std::string profile = panel.directory() + "/объект.ini";
};

TEST_F(CliProfile, ReadAllSavesIntoTheProfileAndKeepsItsOtherContent)
{
    WriteFile(profile, "; объект 17\r\n[Notes]\r\nwho=installer\r\n");
    const CliResult result =
        RunCli({"--port", panel.portPath(), "--master-key", "4321", "--read-all", "--profile", profile});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string saved = ReadFile(profile);
    EXPECT_NE(saved.find("who=installer"), std::string::npos) << saved;
    EXPECT_NE(saved.find("ComPort=" + panel.portPath() + "\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("MasterKey=4321\r\n"), std::string::npos) << saved;
}

TEST_F(CliProfile, WriteAllSendsWhatReadAllSavedOverTheCommandLinesConnection)
{
    const std::vector<std::string> connection = {"--port", panel.portPath(), "--master-key", "4321"};
    ASSERT_EQ(RunCli(With(connection, {"--read-all", "--profile", profile})).exitCode, 0);
    // The profile now names another port, a modem and another key; the command line wins.
    std::string saved = ReadFile(profile);
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"ComPort=" + panel.portPath(),
                                                                       std::string("ComPort=") + kNoSuchPort},
                                   {"rb1=1", "rb1=0"},
                                   {"rb2=0", "rb2=1"},
                                   {"MasterKey=4321", "MasterKey=9999"}}) {
        const auto at = saved.find(from);
        ASSERT_NE(at, std::string::npos) << from << " in\n" << saved;
        saved.replace(at, from.size(), to);
    }
    WriteFile(profile, saved);
    const std::string readTraffic = panel.wireLog();

    const CliResult result = RunCli(With(connection, {"--write-all", "--profile", profile}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("Запись всех параметров завершена!"), std::string::npos) << result.err;
    const std::string written = panel.wireLog().substr(readTraffic.size());
    EXPECT_NE(written.find("+id=4321\r"), std::string::npos) << written;
    EXPECT_EQ(written.find("AT"), std::string::npos) << "no modem dialogue on a cable: " << written;
}

TEST_F(CliProfile, WriteRefusesAProfileItCannotUseBeforeOpeningThePort)
{
    struct Case {
        const char* name;
        const char* content; // nullptr: no file at all
        const char* reason;
    };
    const Case cases[] = {
        {"no file", nullptr, "Файл настроек не найден"},
        // Loading it would give every page its defaults, the factory master key among them.
        {"connection only", "[Connect]\r\nComPort=ttyS0\r\n", "нет страниц"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = panel.directory() + "/" + c.name + ".ini";
        if (c.content)
            WriteFile(path, c.content);
        for (const char* action : {"--write-all", "--write-page"}) {
            std::vector<std::string> arguments = {"--port", panel.portPath(), action, "--profile", path};
            if (std::string(action) == "--write-page")
                arguments.insert(arguments.end() - 2, "16");
            const CliResult result = RunCli(arguments);
            EXPECT_EQ(result.exitCode, 2) << action;
            EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
        }
    }
    EXPECT_EQ(panel.wireLog(), "");
}

TEST(CliCompanion, InterruptDisconnectsAndReportsTheStop)
{
    DevSimProcess sensor({"--no-answer", "+pA="});
    CliProcess cli({"--port", sensor.portPath(), "--pet-immunity", "on"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sensor.wireLog().find("+pA=11\r") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto interrupted = std::chrono::steady_clock::now();
    cli.signal(SIGINT);
    const CliResult result = cli.wait();
    // Unanswered, the write alone would go on for nearly a minute of attempts.
    EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(10));
    EXPECT_EQ(result.exitCode, 5) << result.err;
    EXPECT_NE(result.err.find("Запись прервана"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "") << "no state is claimed without the sensor's read-back";
}

TEST(CliCompanion, ShowsWhatRunsOnATerminal)
{
    DevSimProcess sensor;
    const CliResult result =
        CliProcess({"--port", sensor.portPath(), "--pet-immunity", "on"}, CliProcess::ErrorStream::Terminal)
            .wait();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("Запись в датчик\x1b[K"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, kOnLine);
}

} // namespace

namespace {

// What a command prints on its standard output.
std::string ReadBack(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}

}  // namespace

TEST(CliCompanion, SavesTheWholeHistoryAsTextOrWorkbookByTheFileName)
{
    DevSimProcess panel({"--device", "panel", "--history", "40", "--history-uncheckable", "7"});
    const std::string folder = panel.directory();

    const CliResult text = RunCli({"--port", panel.portPath(), "--save-history", folder + "/История.txt"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    std::ifstream file(folder + "/История.txt", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 80);  // a decoded line and the record, each
    EXPECT_NE(bytes.find(ToCp1251("Ошибка")), std::string::npos);  // the uncheckable one is marked, not fatal

    const CliResult workbook = RunCli({"--port", panel.portPath(), "--save-history", folder + "/history.xls"});
    ASSERT_EQ(workbook.exitCode, 0) << workbook.err;
    const std::string rows = ReadBack("/usr/bin/python3 -c \"import xlrd; s = xlrd.open_workbook('" + folder +
                                      "/history.xls').sheet_by_index(0); print(s.nrows)\"");
    EXPECT_EQ(rows, "41\n");  // the header and every record read

    EXPECT_EQ(RunCli({"--port", panel.portPath(), "--save-history", folder + "/history.csv"}).exitCode, 2);
}

} // namespace nvx::test
