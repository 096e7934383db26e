#include <gtest/gtest.h>

#include <cctype>

#include "DevSimProcess.h"
#include "DeviceHarness.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace {

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST(ConnectSensor, AsksOnlyTheVersionAndSwitchesToTheSensorPage)
{
    DevSimProcess sim({"--device", "sensor"});
    DeviceHarness h;
    ASSERT_TRUE(h.Connect(sim.portPath())) << h.Status();
    EXPECT_EQ(h.Status(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    EXPECT_EQ(h.sensorSwitches, 1);
    EXPECT_EQ(h.device.publishedType, 3);
    EXPECT_EQ(h.device.publishedVersion, 40);
    std::this_thread::sleep_for(600ms);  // a few idle passes: a sensor gets no keep-alive
    h.Tick();
    EXPECT_EQ(sim.wireLog(), "+v\r");
}

struct VersionCase {
    const char* version;
    bool accepted;
    int type;
    int firmware;
};

class ConnectVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ConnectVersion, VersionAnswerDecidesTheDevice)
{
    const VersionCase& c = GetParam();
    DevSimProcess sim({"--device", "sensor", "--version", c.version});
    DeviceHarness h;
    EXPECT_EQ(h.Connect(sim.portPath()), c.accepted) << h.Status();
    if (c.accepted) {
        EXPECT_EQ(h.device.deviceType, c.type);
        EXPECT_EQ(h.device.firmwareVersion, c.firmware);
    } else {
        h.ServeUntil([&] { return h.link->Finished(); }, 5s);
        EXPECT_EQ(h.Status(), "ОШИБКА при проверки версии!");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ConnectVersion,
                         ::testing::Values(VersionCase{"14.3.38", true, 3, 38},
                                           VersionCase{"NVX 1.001.2", true, 3, 39},
                                           VersionCase{"14.5.12", true, 5, 12},
                                           VersionCase{"14.3.37", false, 0, 0},
                                           VersionCase{"14.10", false, 0, 0},
                                           VersionCase{"12.3.40", false, 0, 0},
                                           VersionCase{"14.7.40", false, 0, 0}),
                         [](const auto& info) {
                             std::string name = info.param.version;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(ConnectPanel, RightKeyAuthorisesAndLearnsModeAndProcessor)
{
    DevSimProcess sim({"--device", "panel", "--vp", "000010"});
    DeviceHarness h;
    ASSERT_TRUE(h.Connect(sim.portPath())) << h.Status();
    EXPECT_EQ(sim.wireLog(), "+v\r+id=1234\r+l\r+vp\r+dk\r");
    EXPECT_EQ(h.device.chipName, "pic18f67k22");
    EXPECT_EQ(h.device.processorSelector, 2);
    EXPECT_EQ(h.device.hardwareVariant, "0");
    EXPECT_EQ(h.device.publishedType, 10);
    EXPECT_TRUE(h.LogHas("Авторизация: +id=1234"));
}

TEST(ConnectPanel, WrongKeyStopsWithItsReason)
{
    DevSimProcess sim({"--device", "panel", "--master-key", "4321"});
    DeviceHarness h;
    EXPECT_FALSE(h.Connect(sim.portPath(), "77"));
    EXPECT_EQ(h.Status(), "Неверный мастер-ключ!");
    EXPECT_NE(sim.wireLog().find("+id=0077\r"), std::string::npos);
    EXPECT_TRUE(h.link->Finished());
}

TEST(ConnectPanel, OldFirmwareIsNotAskedForItsProcessor)
{
    DevSimProcess sim({"--device", "panel", "--version", "14.10.29"});
    DeviceHarness h;
    ASSERT_TRUE(h.Connect(sim.portPath())) << h.Status();
    EXPECT_EQ(sim.wireLog(), "+v\r+id=1234\r+l\r");
}

TEST(ConnectModem, DialsTheDigitsAndHangsUpAtTheEnd)
{
    DevSimProcess sim({"--device", "sensor", "--modem", "--cpin-ms", "100"});
    DeviceHarness h;
    ASSERT_TRUE(h.Connect(sim.portPath(), "1234", "8 (912) 345-67-89")) << h.Status();
    h.Stop();
    const std::string wire = sim.wireLog();
    EXPECT_NE(wire.find("AT\r"), std::string::npos);
    EXPECT_NE(wire.find("ATD 89123456789\r"), std::string::npos) << wire;
    EXPECT_NE(wire.find("+v\r"), std::string::npos);
    EXPECT_LT(wire.find("ATD 89123456789\r"), wire.find("+v\r"));
    EXPECT_NE(wire.find("+++"), std::string::npos);
    EXPECT_NE(wire.find("ATH\r"), std::string::npos);
}

TEST(LinkStop, CancellingWhileDiallingStopsWithinAPollInterval)
{
    DevSimProcess sim({"--device", "sensor", "--modem", "--cpin-ms", "100", "--no-dial-answer"});
    DeviceHarness h;
    h.Start(sim.portPath(), "1234", "89123456789");
    ASSERT_TRUE(h.ServeUntil([&] { return sim.wireLog().find("ATD") != std::string::npos; }, 20s));
    std::this_thread::sleep_for(100ms);
    auto start = std::chrono::steady_clock::now();
    h.link->Terminate();
    ASSERT_TRUE(h.ServeUntil([&] { return h.link->Finished(); }, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST(LinkLineWatch, DroppedLineEndsTheLinkAndAsksTheWindowToDisconnect)
{
    DevSimProcess sim({"--device", "panel"});
    DeviceHarness h;
    ASSERT_TRUE(h.Connect(sim.portPath()));
    sim.control("drop");
    ASSERT_TRUE(h.ServeUntil([&] { return h.link->Finished(); }, 10s));
    EXPECT_TRUE(h.LogHas("ОШИБКА! Цифровое соединение разорвано!"));
    EXPECT_EQ(h.disconnectClicks, 1);
}

TEST(KeepAlive, PanelIsAskedOnlyAfter25SecondsWithoutWrites)
{
    DevSimProcess sim({"--device", "panel", "--version", "14.10.29"});
    ManualClock clock;
    DeviceHarness h(clock);
    ASSERT_TRUE(h.Connect(sim.portPath()));
    h.ServeUntil([] { return false; }, 700ms);
    EXPECT_EQ(Count(sim.wireLog(), "+l\r"), 1u);
    clock.advance(20000);
    h.ServeUntil([] { return false; }, 700ms);
    EXPECT_EQ(Count(sim.wireLog(), "+l\r"), 1u);
    clock.advance(6000);
    EXPECT_TRUE(h.ServeUntil([&] { return Count(sim.wireLog(), "+l\r") == 2; }, 3s)) << sim.wireLog();
}

TEST(KeepAlive, SilentPanelIsDisconnected)
{
    DevSimProcess sim({"--device", "panel", "--version", "14.10.29"});
    ManualClock clock;
    DeviceHarness h(clock);
    ASSERT_TRUE(h.Connect(sim.portPath()));
    sim.control("noanswer +l");
    clock.advance(30000);
    EXPECT_TRUE(h.ServeUntil([&] { return h.disconnectClicks > 0; }, 30s));
    EXPECT_TRUE(h.LogHas("Панель не отвечает"));
}
