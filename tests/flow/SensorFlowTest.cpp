#include <gtest/gtest.h>

#include "DevSimProcess.h"
#include "SessionDriver.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace {

const char* kWritesOn = "+pA=11\r+pV=14\r+pC=061E\r+pP=03\r+pAVCP\r";
const char* kWritesOff = "+pA=06\r+pV=07\r+pC=0614\r+pP=03\r+pAVCP\r";

bool Shown(SessionDriver& d, bool on)
{
    const Control button = d.session.SensorPage().Form().get("CatButton");
    const Control note = d.session.SensorPage().Form().get("RzRichEdit1");
    return d.session.SensorPage().PetImmune() == on && button.value == (on ? 1 : 0) &&
           note.value == (on ? TFormNVX::kNoteOn : TFormNVX::kNoteOff);
}

}  // namespace

TEST(SensorFlow, StartsOnTheSensorPageWithTheTreeHidden)
{
    SessionDriver d;
    EXPECT_EQ(d.session.CurrentPage(), &d.session.SensorPage());
    EXPECT_TRUE(d.session.SensorPage().Form().visible("FormNVX"));
    EXPECT_FALSE(d.session.MainForm().visible("tv1"));
    EXPECT_EQ(d.session.SensorPage().Form().get("RzRichEdit1").value, 0);  // empty until read
}

TEST(SensorFlow, ConnectReadsTheStateAndTheButtonWritesAndReadsItBack)
{
    for (bool startOn : {false, true}) {
        std::vector<std::string> arguments{"--device", "sensor"};
        if (startOn)
            arguments.push_back("--pet-immune");
        DevSimProcess sim(arguments);
        SessionDriver d;
        ASSERT_TRUE(d.Connect(sim.portPath())) << d.session.Splash().text("Panel2");
        EXPECT_EQ(sim.wireLog(), "+v\r+pAVCP\r");
        EXPECT_TRUE(Shown(d, startOn));
        EXPECT_EQ(d.session.Device().publishedType, 3);

        d.Press();
        EXPECT_TRUE(Shown(d, !startOn));  // the choice shows at once
        EXPECT_FALSE(d.session.SensorPage().Form().enabled("CatButton"));
        ASSERT_TRUE(d.WaitForJob());
        d.session.Tick();
        EXPECT_EQ(sim.wireLog(), std::string("+v\r+pAVCP\r") + (startOn ? kWritesOff : kWritesOn));
        EXPECT_TRUE(Shown(d, !startOn));
        EXPECT_TRUE(d.session.SensorPage().Form().enabled("CatButton"));
        EXPECT_EQ(sim.state().at("A"), startOn ? "06" : "11");
        EXPECT_TRUE(d.messages.empty());
        d.session.Disconnect();
    }
}

TEST(SensorFlow, RefusedWriteIsReportedAndThePageShowsWhatTheSensorHolds)
{
    DevSimProcess sim({"--device", "sensor", "--reject", "+pC="});
    SessionDriver d;
    ASSERT_TRUE(d.Connect(sim.portPath()));
    d.Press();
    ASSERT_TRUE(d.WaitForJob());
    d.session.Tick();
    ASSERT_EQ(d.messages.size(), 1u);
    EXPECT_EQ(d.messages[0].rfind("Не удалось записать настройку в датчик.", 0), 0u) << d.messages[0];
    EXPECT_NE(d.messages[0].find("+pC=061E"), std::string::npos);
    EXPECT_TRUE(d.LogHas("Не удалось записать настройку в датчик."));
    EXPECT_TRUE(Shown(d, false));  // the sensor did not take the whole setting
}

TEST(SensorFlow, PulledCableDuringTheWriteIsReportedAndReleasesTheButton)
{
    DevSimProcess sim({"--device", "sensor", "--drop-after", "3"});
    SessionDriver d;
    ASSERT_TRUE(d.Connect(sim.portPath()));
    d.Press();
    ASSERT_TRUE(d.ServeUntil([&] { return !d.messages.empty(); }, 30s)) << [&] {
        std::string all;
        for (const auto& line : d.log)
            all += line + "\n";
        return all + sim.trace();
    }();
    EXPECT_NE(d.messages[0].find("Не удалось записать настройку в датчик."), std::string::npos);
    // The link ends by itself and clicks the disconnect command.
    EXPECT_TRUE(d.ServeUntil([&] { return !d.session.LinkExists(); }, 10s)) << [&] {
        std::string all;
        for (const auto& line : d.log)
            all += line + "\n";
        return all;
    }();
    EXPECT_TRUE(d.session.SensorPage().Form().enabled("CatButton"));
    EXPECT_TRUE(d.session.MainForm().enabled("tbtnConnect"));
}

TEST(SensorFlow, PressWithoutALinkOnlyTogglesAndSendsNothing)
{
    SessionDriver d;
    d.Press();
    EXPECT_TRUE(Shown(d, true));
    d.Press();
    EXPECT_TRUE(Shown(d, false));
    EXPECT_TRUE(d.session.SensorPage().Form().enabled("CatButton"));
}

TEST(SensorFlow, PressDuringARunningWriteIsRefused)
{
    DevSimProcess sim({"--device", "sensor", "--paced", "--reply-delay-ms", "40"});
    SessionDriver d;
    ASSERT_TRUE(d.Connect(sim.portPath()));
    d.Press();
    d.Press();  // ignored: the write of the first press runs
    ASSERT_TRUE(d.WaitForJob());
    d.session.Tick();
    EXPECT_EQ(sim.wireLog(), std::string("+v\r+pAVCP\r") + kWritesOn);
    EXPECT_TRUE(Shown(d, true));
}

TEST(SensorFlow, SecondConnectionDoesNotAddASecondSensorNode)
{
    DevSimProcess sim({"--device", "sensor"});
    SessionDriver d;
    for (int i = 0; i < 2; ++i) {
        d.connected = false;
        ASSERT_TRUE(d.Connect(sim.portPath()));
        d.session.Disconnect();
    }
    const Control tree = d.session.MainForm().get("tv1");
    EXPECT_EQ(std::count(tree.itemIds.begin(), tree.itemIds.end(), 226), 1);
}
