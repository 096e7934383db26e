#include <gtest/gtest.h>

#include "link/EventLineFilter.h"

using namespace nvx;

namespace {

struct Case {
    const char* name;
    std::vector<std::string> chunks;  // fed one after another, 10 ms apart
    std::string answer;               // what all feeds hand on to the command's reader
    std::vector<EventLine> events;
};

}  // namespace

class EventLineFilterCases : public ::testing::TestWithParam<Case> {};

TEST_P(EventLineFilterCases, CutsOnlyCompleteEventLines)
{
    const Case& c = GetParam();
    EventLineFilter filter;
    std::vector<EventLine> events;
    std::string answer;
    std::int64_t now = 0;
    for (const std::string& chunk : c.chunks) {
        answer += filter.Feed(chunk, now, events);
        now += 10;
    }
    EXPECT_EQ(answer, c.answer);
    ASSERT_EQ(events.size(), c.events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].payload, c.events[i].payload);
        EXPECT_EQ(events[i].signal, c.events[i].signal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, EventLineFilterCases,
    ::testing::Values(
        Case{"inside_an_answer", {"+v\r14.10.45\r\nGet:0123ABCD\r\n-67\r\nOK\r\n"}, "+v\r14.10.45\r\nOK\r\n",
             {{"0123ABCD", "-67"}}},
        Case{"no_signal_line", {"Get:0123\r\nOK\r\n"}, "OK\r\n", {{"0123", "0"}}},
        Case{"signal_with_its_colon_part", {"Get:0123\r\n-95:3\r\nOK\r\n"}, "OK\r\n", {{"0123", "-95:3"}}},
        Case{"bare_dash_is_zero", {"Get:0123\r\n-\r\nOK\r\n"}, "OK\r\n", {{"0123", "0"}}},
        Case{"split_inside_payload", {"+l\r0\r\nGet:01", "23\r\n-5", "4\r\nOK\r\n"}, "+l\r0\r\nOK\r\n",
             {{"0123", "-54"}}},
        Case{"split_inside_marker", {"OK\r\nGe", "t:77\r\n-1\r\n"}, "OK\r\n", {{"77", "-1"}}},
        Case{"split_between_cr_and_lf", {"Get:77\r", "\n-1\r", "\n"}, "", {{"77", "-1"}}},
        Case{"answer_with_dash_is_not_a_signal", {"Get:77\r\n12-34\r\nOK\r\n"}, "12-34\r\nOK\r\n",
             {{"77", "0"}}},
        Case{"two_events_back_to_back", {"Get:1\r\n-1\r\nGet:2\r\n-2\r\n"}, "", {{"1", "-1"}, {"2", "-2"}}},
        Case{"plain_answer_untouched", {"+pAVCP\r0607061403\r\nOK\r\n"}, "+pAVCP\r0607061403\r\nOK\r\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EventLineFilter, HeldFragmentWaitsForItsLineThenIsHandedOnAfterASecond)
{
    EventLineFilter filter;
    std::vector<EventLine> events;
    EXPECT_EQ(filter.Feed("OK\r\nGet:5", 0, events), "OK\r\n");
    EXPECT_TRUE(filter.Holding());
    EXPECT_EQ(filter.Feed("", 500, events), "");
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(filter.Feed("", 1500, events), "");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].payload, "5");
    EXPECT_FALSE(filter.Holding());
}

TEST(EventLineFilter, CompleteEventWithoutItsNextLineWaitsThenTakesZero)
{
    EventLineFilter filter;
    std::vector<EventLine> events;
    filter.Feed("Get:99\r\n", 0, events);
    EXPECT_TRUE(events.empty());
    filter.Feed("", 1200, events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].signal, "0");
}

TEST(EventLineFilter, PayloadIsCutTo255Characters)
{
    EventLineFilter filter;
    std::vector<EventLine> events;
    filter.Feed("Get:" + std::string(300, 'A') + "\r\nOK\r\n", 0, events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].payload.size(), 255u);
}
