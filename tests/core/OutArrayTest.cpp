#include "core/OutArray.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <regex>
#include <thread>

namespace nvx {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> Numbers(int from, int count)
{
    std::vector<std::string> numbers;
    for (int i = from; i < from + count; ++i)
        numbers.push_back(std::to_string(i));
    return numbers;
}

void PostNumbers(TOutArray& queue, int from, int count)
{
    for (int i = from; i < from + count; ++i)
        queue.PostLog(std::to_string(i), true, false);
}

std::vector<std::string> DrainLog(TOutArray& queue)
{
    std::vector<std::string> lines;
    DrainTargets targets;
    targets.appendLog = [&](const std::string& line) { lines.push_back(line); };
    queue.Drain(targets);
    return lines;
}

TEST(OutArray, EmptyQueueAppliesNothing)
{
    TOutArray queue;
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(queue.PeekKind(), 0);
    EXPECT_EQ(queue.Take(), nullptr);
    EXPECT_TRUE(DrainLog(queue).empty());
}

TEST(OutArray, FullQueueComesBackInOrder)
{
    TOutArray queue;
    PostNumbers(queue, 0, TOutArray::kCapacity);
    EXPECT_EQ(queue.Pending(), 1023);
    EXPECT_EQ(DrainLog(queue), Numbers(0, 1023));
    EXPECT_TRUE(queue.Empty());
}

TEST(OutArray, IndicesWrapWithoutLosingElements)
{
    TOutArray queue;
    std::vector<std::string> received;
    for (int batch = 0; batch < 10; ++batch) { // 7000 elements: the indices pass 1024 six times
        PostNumbers(queue, batch * 700, 700);
        for (auto& line : DrainLog(queue))
            received.push_back(line);
    }
    EXPECT_EQ(received, Numbers(0, 7000));
}

TEST(OutArray, ProducerWaitsForRoomInsteadOfOverwriting)
{
    TOutArray queue;
    constexpr int kCount = 5000;
    std::thread producer([&] { PostNumbers(queue, 0, kCount); });

    // The producer stops at capacity until the consumer takes something.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (queue.Pending() < TOutArray::kCapacity && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(queue.Pending(), TOutArray::kCapacity);

    std::vector<std::string> received;
    DrainTargets targets;
    targets.appendLog = [&](const std::string& line) { received.push_back(line); };
    while (received.size() < kCount && std::chrono::steady_clock::now() < deadline) {
        queue.Drain(targets);
        std::this_thread::sleep_for(2ms);
    }
    producer.join();
    EXPECT_EQ(received, Numbers(0, kCount));
}

TEST(OutArray, ConsumerThreadDoesNotWaitForItselfOnAFullQueue)
{
    TOutArray queue;
    queue.Take(); // this thread is now the consumer
    PostNumbers(queue, 0, TOutArray::kCapacity);
    queue.PostLog("no room", true, false); // must return, not wait for a drain that cannot come
    EXPECT_EQ(DrainLog(queue), Numbers(0, 1023));
}

TEST(OutArray, FailingElementIsDroppedAndTheNextStillApplies)
{
    FormModel form("formTest");
    form.add("etName", ControlKind::Edit);
    TOutArray queue;
    queue.PostText({&form, "etMissing"}, "lost");
    queue.Add(std::make_unique<TOutElement>(42)); // a kind that does not exist
    queue.PostText({&form, "etName"}, "applied");
    queue.PostText({nullptr, "etName"}, "no form");
    queue.Drain({});
    EXPECT_EQ(form.text("etName"), "applied");
    EXPECT_TRUE(queue.Empty());
}

TEST(OutArray, DrainNestedInAModalMessageBox)
{
    TOutArray queue;
    std::vector<std::string> lines;
    DrainTargets targets;
    targets.appendLog = [&](const std::string& line) { lines.push_back(line); };
    targets.showMessage = [&](const std::string&) { queue.Drain(targets); }; // the box's loop runs the timer
    queue.PostNotice("Пароль не верен!");
    PostNumbers(queue, 0, 3);
    queue.Drain(targets);
    EXPECT_EQ(lines, Numbers(0, 3));
    EXPECT_TRUE(queue.Empty());
}

TEST(OutArray, ProducersBuildTheirKinds)
{
    FormModel form("formTest");
    const ControlRef c{&form, "x"};
    struct Case {
        const char* producer;
        std::function<void(TOutArray&)> post;
        std::uint8_t kind;
    };
    const Case cases[] = {
        {"PostLog", [](TOutArray& q) { q.PostLog("line"); }, 1},
        {"PostText", [&](TOutArray& q) { q.PostText(c, "t"); }, 2},
        {"PostBool", [&](TOutArray& q) { q.PostBool(c, true); }, 2},
        {"PostInt", [&](TOutArray& q) { q.PostInt(c, 5); }, 2},
        {"PostComp", [&](TOutArray& q) { q.PostComp(c, "true"); }, 3},
        {"PostSlider", [&](TOutArray& q) { q.PostSlider(c, 0, "position"); }, 6},
        {"PostNotice", [](TOutArray& q) { q.PostNotice("n"); }, 9},
        {"PostStatus", [](TOutArray& q) { q.PostStatus("s", 0); }, 10},
        {"PostCell", [&](TOutArray& q) { q.PostCell(c, "v", 1, 2); }, 11},
        {"PostColor", [&](TOutArray& q) { q.PostColor(c, "clRed"); }, 12},
        {"PostRow", [&](TOutArray& q) { q.PostRow(c, "r"); }, 13},
    };
    for (const auto& test : cases) {
        TOutArray queue;
        test.post(queue);
        EXPECT_EQ(queue.PeekKind(), test.kind) << test.producer;
    }
}

TEST(OutArray, BoolAndIntegerTravelAsText)
{
    TOutArray queue;
    const ControlRef c{nullptr, "x"};
    queue.PostBool(c, true);
    queue.PostBool(c, false);
    queue.PostInt(c, -1234567890123LL);
    std::vector<std::string> texts;
    while (auto element = queue.Take())
        texts.push_back(dynamic_cast<TControlOut&>(*element).text);
    EXPECT_EQ(texts, (std::vector<std::string>{"true", "false", "-1234567890123"}));
}

TEST(OutArray, LogLineCarriesDateAndTime)
{
    TOutArray queue;
    queue.PostLog("-> com: +v");
    queue.PostLog("без метки", true, false);
    queue.PostLog("hidden", false);
    const auto lines = DrainLog(queue);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d -> com: \+v)")))
        << lines[0];
    EXPECT_EQ(lines[1], "без метки");
}

} // namespace
} // namespace nvx
