#include "shell/ConnectDialogRules.h"

#include <gtest/gtest.h>

#include "device/FactoryDefaults.h"
#include "shell/Session.h"
#include "shell/WindowModels.h"

namespace nvx {
namespace {

using Items = std::vector<std::string>;

TEST(PortText, ThePortIsTheFirstBlankFreeRun)
{
    const struct {
        const char* text;
        const char* port;
    } cases[] = {
        {"ttyUSB0 (FTDI adapter)", "ttyUSB0"},
        {"/dev/pts/3", "/dev/pts/3"},
        {"/dev/pts/3 (14.3.40)", "/dev/pts/3"},
        {"  ttyS1", "ttyS1"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortNameOf(c.text), c.port) << c.text;
}

TEST(PortListRules, FillAndRefreshChooseTheItem)
{
    const struct {
        const char* name;
        bool refresh;
        std::string present;
        Items items;
        Items listed;
        int index;
        std::string text;
    } cases[] = {
        {"fresh dialog", true, "", {"ttyUSB0", "ttyACM0"}, {"ttyACM0", "ttyUSB0"}, 0, "ttyACM0"},
        {"labelled port finds its item",
         true,
         "ttyUSB2 (14.3.40)",
         {"ttyUSB0", "ttyUSB2 (FTDI X)", "ttyUSB10"},
         {"ttyUSB0", "ttyUSB10", "ttyUSB2 (FTDI X)"},
         2,
         "ttyUSB2 (FTDI X)"},
        {"a longer name is no match",
         true,
         "ttyUSB1",
         {"ttyUSB0", "ttyUSB10"},
         {"ttyUSB0", "ttyUSB10"},
         0,
         "ttyUSB0"},
        {"a vanished port gives the first",
         true,
         "ttyUSB7",
         {"ttyS0", "ttyUSB0"},
         {"ttyS0", "ttyUSB0"},
         0,
         "ttyS0"},
        {"typed path stays", true, "/dev/pts/5", {"ttyS0"}, {"ttyS0"}, -1, "/dev/pts/5"},
        {"found pty stays", true, "/dev/pts/5 (14.3.40)", {"ttyS0"}, {"ttyS0"}, -1, "/dev/pts/5 (14.3.40)"},
        {"fill selects the first",
         false,
         "ttyUSB0",
         {"ttyACM0", "ttyUSB0"},
         {"ttyACM0", "ttyUSB0"},
         0,
         "ttyACM0"},
        {"fill keeps a typed path", false, "/dev/ttyUSB0", {"ttyUSB0"}, {"ttyUSB0"}, -1, "/dev/ttyUSB0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = BuildConnectDialogModel();
        dialog->setText("ComPorts", c.present);
        if (c.refresh)
            RefreshPortList(*dialog, c.items);
        else
            FillPortList(*dialog, c.items);
        const Control ports = dialog->get("ComPorts");
        EXPECT_EQ(ports.items, c.listed);
        EXPECT_EQ(ports.index, c.index);
        EXPECT_EQ(ports.text, c.text);
    }
}

TEST(PortListRules, ItemsNameTheirPortFirst)
{
    EXPECT_EQ(PortItems({{"ttyUSB0", "FTDI FT232R"}, {"ttyS0", ""}}),
              (Items{"ttyUSB0 (FTDI FT232R)", "ttyS0"}));
}

TEST(ConnectDialogRules, OkPutsANewPhoneFirstAndKeepsFive)
{
    auto dialog = BuildConnectDialogModel();
    dialog->update("Phones", [](Control& c) {
        c.items = {"5", "4", "3", "2", "1"};
        c.text = "6";
    });

    RememberDialledPhone(*dialog);
    EXPECT_EQ(dialog->get("Phones").items, (Items{"6", "5", "4", "3", "2"}));
    EXPECT_EQ(dialog->text("Phones"), "6");

    dialog->setText("Phones", "");
    RememberDialledPhone(*dialog);
    EXPECT_EQ(dialog->get("Phones").items, (Items{"6", "5", "4", "3", "2"}));
}

TEST(ConnectDialogRules, ThePhoneIsEnabledOnlyForTheModem)
{
    auto dialog = BuildConnectDialogModel();
    for (const char* chosen : {"rb2", "rb1"}) {
        dialog->checkRadio(chosen);
        ApplyLinkChoice(*dialog);
        const bool modem = std::string(chosen) == "rb2";
        EXPECT_EQ(dialog->enabled("Phones"), modem) << chosen;
        EXPECT_EQ(dialog->enabled("Label2"), modem) << chosen;
    }
}

TEST(ConnectDialogRules, AnEmptyMasterKeyBecomesTheFactoryKeyWhenLeft)
{
    auto dialog = BuildConnectDialogModel();
    dialog->setText("meMasterKey", "");
    LeaveMasterKey(*dialog);
    EXPECT_EQ(dialog->text("meMasterKey"), kFactoryMasterKey);

    dialog->setText("meMasterKey", "0A");
    LeaveMasterKey(*dialog);
    EXPECT_EQ(dialog->text("meMasterKey"), "0A");
}

TEST(PortSearchRules, TheProbeAnswerGivesTheLabel)
{
    EXPECT_EQ(ProbeCommand(false), "+v");
    EXPECT_EQ(ProbeCommand(true), "AT+GMR");
    const struct {
        const char* answer;
        const char* label;
    } cases[] = {
        {"\r14.3.40\r\nOK\r\n", "14.3.40"},
        {"\r\r\nSIM900 R11.0\r\nOK\r\n", "SIM900"},
        {"Revision: SIMCOM_SIM5320E\r\n", "SIM5320"},
        {"  SIM R1\r\nOK", "SIM R1"},
        {" \r\n\r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeviceLabel(c.answer), c.label) << c.answer;
}

} // namespace
} // namespace nvx
