// The communication channels page's own rules on its model: compaction, the GPRS online switch,
// the directions a write sends, the history's short names, the preparation of a read, defaults.
#include <gtest/gtest.h>

#include "device/PageDirectory.h"
#include "pages/f_GPRS.h"
#include "pages/f_Ways.h"

using namespace nvx;

namespace {

// The channels page with a GPRS page beside it, as the program has them.
struct Pages {
    Pages()
    {
        directory.Register(ways);
        directory.Register(gprs);
    }
    PageDirectory directory;
    TformWays ways{directory};
    TformGPRS gprs;
};

// Types as indices, links as a string of A ("И") and O ("Или").
void Set(TformWays& page, const std::vector<int>& types, const std::string& links,
         const std::vector<std::string>& phones = {})
{
    for (int n = 1; n <= TformWays::kChannels; ++n) {
        page.Form().setIndex(TformWays::TypeName(n), types[n - 1]);
        page.Form().setText(TformWays::PhoneName(n), phones.empty() ? std::to_string(n) : phones[n - 1]);
    }
    for (int link = 1; link <= TformWays::kLinks; ++link)
        page.Form().checkRadio(links[link - 1] == 'A' ? TformWays::AndName(link) : TformWays::OrName(link));
}

std::vector<int> Types(const TformWays& page)
{
    std::vector<int> types;
    for (int n = 1; n <= TformWays::kChannels; ++n)
        types.push_back(page.Form().index(TformWays::TypeName(n)));
    return types;
}

std::vector<std::string> Phones(const TformWays& page)
{
    std::vector<std::string> phones;
    for (int n = 1; n <= TformWays::kChannels; ++n)
        phones.push_back(page.Form().text(TformWays::PhoneName(n)));
    return phones;
}

std::string Links(const TformWays& page)
{
    std::string links;
    for (int link = 1; link <= TformWays::kLinks; ++link)
        links += page.Form().checked(TformWays::OrName(link)) ? 'O' : 'A';
    return links;
}

} // namespace

TEST(WaysPage, CompactionMovesUsedChannelsToTheFrontWithTheirPhonesAndLinks)
{
    struct Case {
        const char* name;
        std::vector<int> types;
        std::string links;
        std::vector<int> typesAfter;
        std::vector<std::string> phonesAfter;
        std::string linksAfter;
    };
    const Case cases[] = {
        {"channel 2 free, channel 5 used",
         {1, 0, 0, 0, 2, 0, 0, 0},
         "OOOOOOO",
         {1, 2, 0, 0, 0, 0, 0, 0},
         {"1", "5", "3", "4", "2", "6", "7", "8"},
         "OOOOOOO"},
        {"the link after the moved channel moves with it",
         {1, 0, 3, 0, 2, 0, 0, 0},
         "AOOOAOO",
         {1, 3, 2, 0, 0, 0, 0, 0},
         {"1", "3", "5", "4", "2", "6", "7", "8"},
         "AOAOOOO"},
        {"the eighth channel has no link to take",
         {0, 0, 0, 0, 0, 0, 0, 4},
         "OOOOOOA",
         {4, 0, 0, 0, 0, 0, 0, 0},
         {"8", "2", "3", "4", "5", "6", "7", "1"},
         "OOOOOOA"},
        {"nothing to move",
         {1, 1, 0, 0, 0, 0, 0, 0},
         "AOOOOOO",
         {1, 1, 0, 0, 0, 0, 0, 0},
         {"1", "2", "3", "4", "5", "6", "7", "8"},
         "AOOOOOO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pages pages;
        Set(pages.ways, c.types, c.links);
        pages.ways.Compact();
        EXPECT_EQ(Types(pages.ways), c.typesAfter);
        EXPECT_EQ(Phones(pages.ways), c.phonesAfter);
        EXPECT_EQ(Links(pages.ways), c.linksAfter);
    }
}

TEST(WaysPage, GprsOnlineTakesTheOfflineTypesAwayAndTheGprsPageFollows)
{
    Pages pages;
    Set(pages.ways, {1, 4, 2, 3, 0, 0, 0, 0}, "OOOOOOO");

    pages.ways.SetGprsOnline(true);
    EXPECT_EQ(Types(pages.ways), (std::vector<int>{1, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Phones(pages.ways), (std::vector<std::string>{"1", "3", "2", "4", "5", "6", "7", "8"}));
    for (int n = 1; n <= TformWays::kChannels; ++n)
        EXPECT_EQ(pages.ways.Form().get(TformWays::TypeName(n)).items.size(), 3u) << n;
    EXPECT_TRUE(pages.gprs.Form().checked("cb11"));

    pages.ways.SetGprsOnline(false);
    const Control list = pages.ways.Form().get("cb8");
    EXPECT_EQ(list.items.back(), "GPRS-offline IP2");
    EXPECT_EQ(list.items.size(), 5u);
    EXPECT_FALSE(pages.gprs.Form().checked("cb11"));

    // The user's click on the switch runs the same rule.
    pages.ways.Form().setChecked("CheckBox1", true);
    pages.ways.Form().trigger("CheckBox1");
    EXPECT_EQ(pages.ways.Form().get("cb1").items.size(), 3u);
    EXPECT_TRUE(pages.gprs.Form().checked("cb11"));
}

TEST(WaysPage, ChoosingATypeCompacts)
{
    Pages pages;
    Set(pages.ways, {1, 0, 0, 0, 0, 0, 0, 0}, "OOOOOOO");
    pages.ways.Form().setIndex("cb4", 2);
    pages.ways.Form().trigger("cb4");
    EXPECT_EQ(Types(pages.ways), (std::vector<int>{1, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(pages.ways.Form().text("etP2"), "4");
}

TEST(WaysPage, DirectionsToWriteFollowTheLinksUpToTheFirstFreeChannel)
{
    struct Case {
        std::vector<int> types;
        std::string links;
        std::vector<std::string> directions;
    };
    const Case cases[] = {
        {{1, 2, 3, 4, 0, 0, 0, 0}, "OAOOOOO", {"01", "23", "", "", "", "", "", ""}},
        {{0, 0, 0, 0, 0, 0, 0, 0}, "AAAAAAA", {"", "", "", "", "", "", "", ""}},
        {{1, 1, 1, 1, 1, 1, 1, 1}, "OOOOOOO", {"01234567", "", "", "", "", "", "", ""}},
        {{1, 1, 1, 1, 1, 1, 1, 1}, "AAAAAAA", {"0", "1", "2", "3", "4", "5", "6", "7"}},
        {{1, 1, 0, 1, 0, 0, 0, 0}, "OOAOOOO", {"01", "", "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        Pages pages;
        Set(pages.ways, c.types, c.links);
        EXPECT_EQ(pages.ways.DirectionsToWrite(), c.directions) << c.links;
    }
}

TEST(WaysPage, ShortNamesAndDirectionsForTheHistory)
{
    Pages pages;
    Set(pages.ways, {0, 1, 2, 3, 4, 0, 0, 0}, "OAOOAOO");
    const std::vector<std::string> names{"",         "не исп.",  "GSM цифр.", "SMS",
                                         "GPRS IP1", "GPRS IP2", "не исп.",   ""};
    for (int channel = 0; channel <= 7; ++channel)
        EXPECT_EQ(pages.ways.ChannelShortName(channel == 7 ? 9 : channel), names[channel]) << channel;
    EXPECT_EQ(pages.ways.DirectionOf(1), 0);
    EXPECT_EQ(pages.ways.DirectionOf(3), 1);
    EXPECT_EQ(pages.ways.DirectionOf(8), 2);
}

TEST(WaysPage, ReadPreparationAndDefaultsClearTypesAndLinks)
{
    Pages pages;
    Set(pages.ways, {1, 2, 3, 0, 0, 0, 0, 0}, "AAOOOOO");
    pages.ways.Form().setChecked("CheckBox1", false); // as the window's clearing leaves it
    pages.ways.Form().update("cb1", [](Control& c) { c.items.resize(3); });
    pages.gprs.Form().setChecked("cb11", true);
    pages.ways.PrepareRead();
    EXPECT_EQ(Types(pages.ways), (std::vector<int>(8, 0)));
    EXPECT_EQ(Links(pages.ways), "OOOOOOO");
    EXPECT_EQ(pages.ways.Form().get("cb1").items.size(), 5u);
    EXPECT_FALSE(pages.gprs.Form().checked("cb11"));

    Set(pages.ways, {1, 2, 3, 0, 0, 0, 0, 0}, "AAOOOOO");
    pages.ways.SetGprsOnline(true);
    pages.ways.Form().checkRadio("rdo1");
    pages.ways.SetDefaults();
    EXPECT_EQ(Types(pages.ways), (std::vector<int>(8, 0)));
    EXPECT_EQ(Phones(pages.ways), (std::vector<std::string>(8, "")));
    EXPECT_EQ(Links(pages.ways), "OOOOOOO");
    EXPECT_TRUE(pages.ways.Form().checked("rdo2"));
    EXPECT_FALSE(pages.ways.Form().checked("CheckBox1"));
    EXPECT_EQ(pages.ways.Form().get("cb5").items.size(), 5u);
    EXPECT_FALSE(pages.gprs.Form().checked("cb11"));
}
