// Read all and write all against the emulated panel with every page of the program: each page's
// exchanges start in the order the two sequences give, and what read all brought back is what
// write all sends.
#include <gtest/gtest.h>

#include <algorithm>

#include "PanelPageDriver.h"
#include "device/PageDirectory.h"
#include "pages/f_common.h"

using namespace nvx;
using namespace nvx::test;

namespace {

// Where each marker line is first sent; the end when it never is.
std::vector<std::ptrdiff_t> FirstPositions(const std::vector<std::string>& sent, const std::vector<std::string>& markers)
{
    std::vector<std::ptrdiff_t> positions;
    for (const std::string& marker : markers)
        positions.push_back(std::find(sent.begin(), sent.end(), marker) - sent.begin());
    return positions;
}

}  // namespace

TEST(PanelAllPages, ReadAllAndWriteAllVisitThePagesInTheirOrders)
{
    // Sensor 3 and keyfob 2 enrolled, so that both are written back.
    PanelPageDriver<TformCommon> p(page_id::kGeneral, {"--set", "z03=0312021", "--set", "b02=0205"});
    p.Open();
    ASSERT_TRUE(p.connected);

    ASSERT_TRUE(p.Run([&p] { p.d.session.ReadAllCommand(); }));
    ASSERT_EQ(p.d.messages, std::vector<std::string>{"Чтение всех параметров завершено!"});
    // General settings, partitions, radio sensors, wired loops, keyfobs, channels, GPRS, history.
    const std::vector<std::string> readMarkers{"+o", "+p", "+z01", "+wt", "+b01", "+h0", "+GC", "+FP"};
    const auto read = FirstPositions(p.Sent(), readMarkers);
    EXPECT_TRUE(std::is_sorted(read.begin(), read.end())) << ::testing::PrintToString(read);
    EXPECT_LT(read.back(), static_cast<std::ptrdiff_t>(p.Sent().size()));

    ASSERT_TRUE(p.Run([&p] { p.d.session.WriteAllCommand(); }));
    ASSERT_EQ(p.d.messages, std::vector<std::string>{"Запись всех параметров завершена!"});
    // General settings, GPRS, radio sensors, keyfobs, wired loops, partitions, channels.
    const std::vector<std::string> writeMarkers{"+o=0050", "+GC=*99#", "+z03=0312021", "+b02=0205",
                                                "+wt=0401412022C23E8", "+p0=01101001E0", "+DO=0"};
    const auto written = FirstPositions(p.Sent(), writeMarkers);
    EXPECT_TRUE(std::is_sorted(written.begin(), written.end())) << ::testing::PrintToString(written);
    EXPECT_LT(written.back(), static_cast<std::ptrdiff_t>(p.Sent().size()));
    EXPECT_FALSE(p.LogHas("Ошибка"));
    EXPECT_EQ(p.sim.state().at("l"), "0");
}
