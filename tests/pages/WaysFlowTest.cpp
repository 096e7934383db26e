// The communication channels page against the panel emulator: what a read shows, what a write
// sends, and what a refused or garbled answer does.
#include <gtest/gtest.h>

#include <map>

#include "WaysGprsPanel.h"
#include "device/PageDirectory.h"
#include "pages/f_Ways.h"

using namespace nvx;
using namespace nvx::test;

namespace {

constexpr const char* kReadError = "Ошибка при чтении каналов связи!";
constexpr const char* kWriteError = "Ошибка при записи каналов связи!";
constexpr const char* kTransitionError = "Ошибка при расшифровке типа перехода по направлениям!";

const std::string kAllGsm = "00 00 00 00 00 00 00 00";

TformWays& Page(PanelPage& p)
{
    return static_cast<TformWays&>(*p.Driver().session.Page(page_id::kChannels));
}

std::vector<int> Types(PanelPage& p)
{
    std::vector<int> types;
    for (int n = 1; n <= TformWays::kChannels; ++n)
        types.push_back(p.Form().index(TformWays::TypeName(n)));
    return types;
}

// "И" or "Или" per link 1..7, as a string of A (and) and O (or) for short comparisons.
std::string Links(PanelPage& p)
{
    std::string links;
    for (int link = 1; link <= TformWays::kLinks; ++link)
        links += p.Form().checked(TformWays::OrName(link)) ? 'O' : 'A';
    return links;
}

std::string Commands(const std::vector<std::string>& commands)
{
    std::string wire;
    for (const std::string& c : commands)
        wire += c + "\r";
    return wire;
}

std::string ReadCommands(const std::vector<std::string>& directions, bool transition)
{
    std::vector<std::string> commands{"+GA", "+h0", "+h1", "+h2", "+h3", "+h4", "+h5", "+h6", "+h7", "+D"};
    for (std::size_t k = 0; k < directions.size(); ++k)
        commands.push_back("+AND" + std::to_string(k));
    if (transition)
        commands.push_back("+DO");
    return Commands(commands);
}

void Configure(TformWays& page, const std::vector<std::string>& phones, const std::vector<int>& types,
               const std::string& links, bool stay, bool gprsOnline)
{
    FormModel& form = page.Form();
    for (int n = 1; n <= TformWays::kChannels; ++n) {
        form.setText(TformWays::PhoneName(n), phones[n - 1]);
        form.setIndex(TformWays::TypeName(n), types[n - 1]);
    }
    for (int link = 1; link <= TformWays::kLinks; ++link)
        form.checkRadio(links[link - 1] == 'A' ? TformWays::AndName(link) : TformWays::OrName(link));
    form.checkRadio(stay ? "rdo1" : "rdo2");
    form.setChecked("CheckBox1", gprsOnline);
}

} // namespace

TEST(WaysFlow, ReadShowsEveryChannelAsThePanelHoldsItAndMarksItConfirmed)
{
    PanelPage p(page_id::kChannels, Presets({{"GA", "0"},
                                             {"h0", "+79001112233"},
                                             {"h1", "89004445566w1"},
                                             {"h2", "112"},
                                             {"h3", "+7900W5"},
                                             {"h4", "5"},
                                             {"h5", "66"},
                                             {"h6", "777"},
                                             {"h7", "8888"},
                                             {"D", "00 13 20 31 42 50 60 70"},
                                             {"AND0", "01"},
                                             {"AND1", "234"},
                                             {"AND2", "5"},
                                             {"AND3", "67"},
                                             {"DO", "1"}}));
    ASSERT_TRUE(p.Ready());
    ASSERT_TRUE(p.Read());

    EXPECT_EQ(p.Sent(), ReadCommands({"01", "234", "5", "67", ""}, true));
    const std::vector<std::string> phones{"+79001112233", "89004445566w1", "112", "+7900W5", "5",
                                          "66",           "777",           "8888"};
    for (int n = 1; n <= TformWays::kChannels; ++n) {
        EXPECT_EQ(p.Form().text(TformWays::PhoneName(n)), phones[n - 1]);
        EXPECT_EQ(p.Colour(TformWays::LabelName(n)), "clBlue") << n;
    }
    EXPECT_EQ(Types(p), (std::vector<int>{1, 2, 1, 3, 4, 1, 1, 1}));
    EXPECT_EQ(Links(p), "OAOOAAO");
    EXPECT_TRUE(p.Form().checked("rdo1"));
    EXPECT_FALSE(p.Form().checked("CheckBox1"));
    for (const char* mark : {"Label6", "ldo1", "ldo2"})
        EXPECT_EQ(p.Colour(mark), "clBlue") << mark;
    EXPECT_FALSE(p.Driver().LogHas("Ошибка")) << p.Log();

    // What the event history reads of the page.
    const TformWays& page = Page(p);
    EXPECT_EQ(page.ChannelShortName(4), "GPRS IP1");
    EXPECT_EQ(page.DirectionOf(7), 3);
}

TEST(WaysFlow, GprsOnlineReadFirstLeavesNoOfflineTypeSelected)
{
    PanelPage p(page_id::kChannels, Presets({{"GA", "1"}, {"D", "00 11"}, {"AND0", "01"}}));
    ASSERT_TRUE(p.Ready());
    ASSERT_TRUE(p.Read());
    EXPECT_TRUE(p.Form().checked("CheckBox1"));
    EXPECT_EQ(Types(p), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(p.Form().get("cb2").items.size(), 3u);
    EXPECT_TRUE(p.Driver().session.Page(page_id::kGprs)->Form().checked("cb11"));
}

TEST(WaysFlow, DirectionListsGiveTheLinksAndLeaveTheRestUnused)
{
    struct Case {
        const char* name;
        std::vector<std::string> directions; // as the panel answers +AND0, +AND1, ...
        std::vector<int> types;
        std::string links; // of the channels used
        bool transitionRead;
    };
    const Case cases[] = {
        {"two directions", {"01", "2", ""}, {1, 1, 1, 0, 0, 0, 0, 0}, "OA", true},
        {"channel 2 skipped", {"02"}, {1, 0, 0, 0, 0, 0, 0, 0}, "", false},
        {"no direction", {""}, {0, 0, 0, 0, 0, 0, 0, 0}, "", true},
        {"eight directions",
         {"0", "1", "2", "3", "4", "5", "6", "7"},
         {1, 1, 1, 1, 1, 1, 1, 1},
         "AAAAAAA",
         true},
        {"one direction of all", {"01234567", ""}, {1, 1, 1, 1, 1, 1, 1, 1}, "OOOOOOO", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<std::string, std::string>> presets{{"D", kAllGsm}};
        for (std::size_t k = 0; k < c.directions.size(); ++k)
            presets.emplace_back("AND" + std::to_string(k), c.directions[k]);
        PanelPage p(page_id::kChannels, Presets(presets));
        ASSERT_TRUE(p.Ready());
        ASSERT_TRUE(p.Read());
        EXPECT_EQ(p.Sent(), ReadCommands(c.directions, c.transitionRead));
        EXPECT_EQ(Types(p), c.types);
        EXPECT_EQ(Links(p).substr(0, c.links.size()), c.links);
    }
}

TEST(WaysFlow, RefusedOrGarbledAnswersAreReportedAndTouchNothingElse)
{
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        const char* message;
        std::map<std::string, std::string> colours;
        std::vector<int> types;
        const char* sentAfterwards; // a command still sent; nullptr: the read ended before "+h0"
        const char* notSent;        // a command the read no longer sent
    };
    const std::vector<std::string> base =
        Presets({{"h0", "111"}, {"h3", "444"}, {"D", "00 13"}, {"AND0", "01"}});
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), base.begin(), base.end());
        return more;
    };
    const Case cases[] = {
        {"refused phone",
         with({"--reject", "+h3"}),
         kReadError,
         {{"lb4", "clRed"}, {"lb1", "clBlue"}, {"ldo1", "clBlue"}},
         {1, 2, 0, 0, 0, 0, 0, 0},
         "+DO",
         ""},
        {"refused types",
         with({"--reject", "+D"}),
         kReadError,
         {{"lb1", "clBlue"}},
         {0, 0, 0, 0, 0, 0, 0, 0},
         "+h7",
         "+AND0"},
        {"garbled types", with({"--set", "D=0 13"}), kReadError, {}, {0, 0, 0, 0, 0, 0, 0, 0}, "+D", "+AND0"},
        {"refused direction",
         with({"--reject", "+AND1"}),
         kReadError,
         {},
         {0, 0, 0, 0, 0, 0, 0, 0},
         "+AND1",
         "+DO"},
        {"empty transition",
         with({"--set", "DO="}),
         kTransitionError,
         {{"ldo1", "clRed"}, {"ldo2", "clRed"}},
         {1, 2, 0, 0, 0, 0, 0, 0},
         "+DO",
         ""},
        {"refused transition",
         with({"--reject", "+DO"}),
         kReadError,
         {{"ldo1", "clRed"}, {"ldo2", "clRed"}},
         {1, 2, 0, 0, 0, 0, 0, 0},
         "+DO",
         ""},
        {"refused GPRS switch",
         with({"--reject", "+GA"}),
         kReadError,
         {{"Label6", "clRed"}, {"lb1", "clBlue"}},
         {1, 2, 0, 0, 0, 0, 0, 0},
         "+DO",
         ""},
        {"garbled GPRS switch",
         with({"--set", "GA=Z"}),
         kReadError,
         {{"Label6", "clRed"}},
         {0, 0, 0, 0, 0, 0, 0, 0},
         nullptr,
         "+h0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelPage p(page_id::kChannels, c.arguments);
        ASSERT_TRUE(p.Ready());
        ASSERT_TRUE(p.Read());
        EXPECT_TRUE(p.Driver().LogHas(c.message)) << p.Log();
        for (const auto& [control, colour] : c.colours)
            EXPECT_EQ(p.Colour(control), colour) << control;
        EXPECT_EQ(Types(p), c.types);
        // Never the refusal itself in a field; the transition stays as it was.
        EXPECT_EQ(p.Form().text("etP4"), c.colours.count("lb4") ? "" : (c.sentAfterwards ? "444" : ""));
        EXPECT_TRUE(p.Form().checked("rdo2"));
        if (c.sentAfterwards) {
            EXPECT_NE(p.Sent().find(std::string(c.sentAfterwards) + "\r"), std::string::npos) << p.Sent();
        } else {
            EXPECT_EQ(p.Sent(), "+GA\r");
        }
        if (*c.notSent) {
            EXPECT_EQ(p.Sent().find(std::string(c.notSent) + "\r"), std::string::npos) << p.Sent();
        }
    }
}

TEST(WaysFlow, WriteSendsThePhonesTypesDirectionsAndTransitionInOrderOnAnyFirmware)
{
    struct Case {
        const char* name;
        std::vector<std::string> phones;
        std::vector<int> types;
        std::string links;
        bool stay;
        bool gprsOnline;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"four channels in two directions",
         {"+79001112233", "89004445566", "112", "+7900W5", "", "", "", ""},
         {1, 2, 3, 4, 0, 0, 0, 0},
         "OAOOOOO",
         false,
         false,
         {"+GA=0",
          "+H0=+79001112233",
          "+H1=89004445566",
          "+H2=112",
          "+H3=+7900W5",
          "+H4=",
          "+H5=",
          "+H6=",
          "+H7=",
          "+D0=00",
          "+D1=13",
          "+D2=21",
          "+D3=32",
          "+D4=00",
          "+D5=00",
          "+D6=00",
          "+D7=00",
          "+AND0=01",
          "+AND1=23",
          "+AND2=",
          "+AND3=",
          "+AND4=",
          "+AND5=",
          "+AND6=",
          "+AND7=",
          "+DO=0"}},
        {"no channel used",
         {"", "", "", "", "", "", "", ""},
         {0, 0, 0, 0, 0, 0, 0, 0},
         "OOOOOOO",
         true,
         false,
         {"+GA=0",  "+H0=",   "+H1=",   "+H2=",   "+H3=",   "+H4=",   "+H5=",   "+H6=",   "+H7=",
          "+D0=00", "+D1=00", "+D2=00", "+D3=00", "+D4=00", "+D5=00", "+D6=00", "+D7=00", "+AND0=",
          "+AND1=", "+AND2=", "+AND3=", "+AND4=", "+AND5=", "+AND6=", "+AND7=", "+DO=1"}},
        {"a gap compacted before the write",
         {"111", "", "", "", "555", "", "", ""},
         {1, 0, 0, 0, 2, 0, 0, 0},
         "OOOOOOO",
         false,
         true,
         {"+GA=1",  "+H0=111", "+H1=555", "+H2=",   "+H3=",   "+H4=",   "+H5=",   "+H6=",   "+H7=",
          "+D0=00", "+D1=13",  "+D2=00",  "+D3=00", "+D4=00", "+D5=00", "+D6=00", "+D7=00", "+AND0=01",
          "+AND1=", "+AND2=",  "+AND3=",  "+AND4=", "+AND5=", "+AND6=", "+AND7=", "+DO=0"}},
    };
    for (const char* version : {"14.10.20", "14.10.60"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " on " + version);
            PanelPage p(page_id::kChannels, {"--version", version});
            ASSERT_TRUE(p.Ready());
            Configure(Page(p), c.phones, c.types, c.links, c.stay, c.gprsOnline);
            ASSERT_TRUE(p.Write());
            EXPECT_EQ(p.Sent(), Commands(c.expected));
            for (const char* mark : {"Label6", "lb1", "lb8", "ldo1", "ldo2"})
                EXPECT_EQ(p.Colour(mark), "clBlue") << mark;
            EXPECT_FALSE(p.Driver().LogHas(kWriteError)) << p.Log();
        }
    }
}

TEST(WaysFlow, RefusedWritesAreMarkedFailedAndReported)
{
    struct Case {
        const char* refused;
        std::map<std::string, std::string> colours;
        const char* stillSent;
        const char* notSent;
    };
    const Case cases[] = {
        // The type written next on the same channel must not turn the failed phone blue.
        {"+H1=", {{"lb2", "clRed"}, {"lb1", "clBlue"}, {"lb3", "clBlue"}}, "+D1=13", ""},
        {"+D1=", {{"lb2", "clRed"}, {"lb1", "clBlue"}}, "+AND0=012", "+D2="},
        {"+AND", {{"ldo1", "clBlue"}}, "+DO=0", "+AND1="},
        {"+DO=", {{"ldo1", "clRed"}, {"ldo2", "clRed"}, {"lb1", "clBlue"}}, "+AND7=", ""},
        {"+GA=", {{"Label6", "clRed"}, {"lb1", "clBlue"}}, "+DO=0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refused);
        PanelPage p(page_id::kChannels, {"--reject", c.refused});
        ASSERT_TRUE(p.Ready());
        Configure(Page(p), {"111", "222", "333", "", "", "", "", ""}, {1, 2, 2, 0, 0, 0, 0, 0}, "OOOOOOO",
                  false, false);
        ASSERT_TRUE(p.Write());
        EXPECT_TRUE(p.Driver().LogHas(kWriteError)) << p.Log();
        for (const auto& [control, colour] : c.colours)
            EXPECT_EQ(p.Colour(control), colour) << control;
        EXPECT_NE(p.Sent().find(std::string(c.stillSent) + "\r"), std::string::npos) << p.Sent();
        if (*c.notSent) {
            EXPECT_EQ(p.Sent().find(c.notSent), std::string::npos) << p.Sent();
        }
    }
}
