// The command line is checked before any port is opened: what it accepts, and every
// combination that cannot be carried out.
#include "cli/CommandLine.h"

#include <gtest/gtest.h>

namespace nvx::cli {
namespace {

TEST(CliCommandLine, ReadsConnectionActionAndProfile)
{
    const auto request =
        ParseCommandLine({"--port=ttyUSB0 (адаптер)", "--modem", "--phone", "+79001234567", "--master-key",
                          "77", "--read-page", "16", "--profile", "p.ini", "--verbose"});
    ASSERT_TRUE(request);
    EXPECT_EQ(request->connection.portText, "ttyUSB0 (адаптер)");
    EXPECT_TRUE(request->connection.modem);
    EXPECT_EQ(request->connection.phone, "+79001234567");
    EXPECT_EQ(request->connection.masterKey, "77");
    EXPECT_EQ(request->action, Action::ReadPage);
    EXPECT_EQ(request->pageId, 16);
    EXPECT_EQ(request->profile, "p.ini");
    EXPECT_TRUE(request->verbose);
}

TEST(CliCommandLine, CableWithoutKeyUsesTheFactoryKey)
{
    const auto request = ParseCommandLine({"--pet-immunity", "off", "--port", "/dev/ttyUSB0"});
    ASSERT_TRUE(request);
    EXPECT_FALSE(request->connection.modem);
    EXPECT_EQ(request->connection.masterKey, "1234");
    EXPECT_EQ(request->action, Action::PetImmunity);
    EXPECT_FALSE(request->petImmune);
}

TEST(CliCommandLine, HelpAndPortListNeedNoPort)
{
    EXPECT_FALSE(ParseCommandLine({"--help"}));
    EXPECT_FALSE(ParseCommandLine({"--status", "-h"}));
    const auto request = ParseCommandLine({"--list-ports"});
    ASSERT_TRUE(request);
    EXPECT_FALSE(request->NeedsDevice());
}

TEST(CliCommandLine, RefusesWhatCannotBeCarriedOut)
{
    const std::vector<std::vector<std::string>> lines = {
        {"--port", "p"},                               // no action
        {"--status"},                                  // no port
        {"--port", "  ", "--status"},                  // a blank port
        {"--port", "p", "--status", "--read-all"},     // two actions
        {"--port", "p", "--modem", "--status"},        // modem without a number
        {"--port", "p", "--phone", "123", "--status"}, // a number without the modem
        {"--port", "p", "--pet-immunity", "yes"},
        {"--port", "p", "--master-key", "12345", "--read-all"},
        {"--port", "p", "--master-key", "12a4", "--read-all"},
        {"--port", "p", "--read-page", "0"},
        {"--port", "p", "--read-page", "1x"},
        {"--port", "p", "--read-page", "99999999999"},
        {"--port", "p", "--read-page", "226"}, // the sensor has its own actions
        {"--port", "p", "--write-page", "16"}, // a write needs a profile
        {"--port", "p", "--write-all"},
        {"--port", "p", "--status", "--profile", "p.ini"},
        {"--list-ports", "--read-all"},
        {"--list-ports", "--profile", "p.ini"},
        {"--port", "p", "--read-all", "--profile="},
        {"--port", "p", "--status", "--frobnicate"},
        {"--port", "p", "--status=1"},
        {"--status", "--port"}, // a value is missing
    };
    for (const auto& line : lines) {
        std::string shown;
        for (const auto& word : line)
            shown += "[" + word + "] ";
        SCOPED_TRACE(shown);
        EXPECT_THROW(ParseCommandLine(line), UsageError);
    }
}

} // namespace
} // namespace nvx::cli
