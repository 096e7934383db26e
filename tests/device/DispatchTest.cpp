#include <gtest/gtest.h>

#include <set>

#include "DevSimProcess.h"
#include "DeviceHarness.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace {

// A page that only records when the device reads or writes it.
class RecordingPage : public IDevicePage {
public:
    RecordingPage(int id, std::vector<std::string>& visits) : id_(id), visits_(visits)
    {
        form_.add(form_.name(), ControlKind::Form);
    }
    int PageId() const override { return id_; }
    FormModel& Form() override { return form_; }
    void ReadFromDevice(TDevVeltra& device) override
    {
        visits_.push_back("r" + std::to_string(id_));
        if (id_ == stopAfter)
            device.abortState = true;
    }
    void WriteToDevice(TDevVeltra&) override { visits_.push_back("w" + std::to_string(id_)); }

    int stopAfter = -1;

private:
    int id_;
    std::vector<std::string>& visits_;
    FormModel form_{"page" + std::to_string(id_)};
};

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int id : {16, 20, 2, 13, 12, 1, 8, 45, 500, 14, 10, 17, 21, 22, 15, 226})
            pages.push_back(std::make_unique<RecordingPage>(id, visits));
        for (auto& page : pages)
            h.device.Pages().Register(*page);
        h.mainForm.add("tv1", ControlKind::PageTree);
        h.device.SetHooks({[this] { h.device.Publish(); }, [this](int id) { return treeNodes.count(id) != 0; }, {}});
        ASSERT_TRUE(h.Connect(sim.portPath()));
        h.device.currentPage = pages.back().get();
    }

    std::vector<std::string> Run(std::uint8_t job)
    {
        visits.clear();
        h.log.clear();
        h.link->SetJob(job);
        h.ServeUntil([&] { return h.link->Job() == 0; }, 10s);
        h.Tick();
        return visits;
    }

    DevSimProcess sim{{"--device", "panel", "--version", "14.10.29"}};
    DeviceHarness h;
    std::vector<std::string> visits;
    std::vector<std::unique_ptr<RecordingPage>> pages;
    std::set<int> treeNodes;
};

}  // namespace

TEST_F(Dispatch, ReadAllVisitsThePagesInOrderAndSkipsKeypadsAndRelaysWithoutTreeNodes)
{
    const std::vector<std::string> expected{"r16", "r20", "r2", "r13", "r12", "r1", "r8",
                                            "r14", "r10", "r17", "r21", "r22", "r15"};
    EXPECT_EQ(Run(5), expected);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0], "Чтение всех параметров завершено!");
    EXPECT_EQ(h.device.currentPage.load()->PageId(), 16);
    treeNodes = {45, 500};
    std::vector<std::string> withNodes = Run(5);
    EXPECT_EQ(withNodes[7], "r45");
    EXPECT_EQ(withNodes[8], "r500");
}

TEST_F(Dispatch, WriteAllVisitsThePagesInItsOwnOrder)
{
    const std::vector<std::string> expected{"w16", "w20", "w17", "w2",  "w12", "w8",
                                            "w1",  "w13", "w10", "w22", "w14", "w21"};
    EXPECT_EQ(Run(7), expected);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0], "Запись всех параметров завершена!");
    EXPECT_EQ(h.mainForm.get("tv1").index, -1);  // "0" selects the first node; this tree has none
}

TEST_F(Dispatch, StopDuringReadAllEndsAfterThePageWithoutTheCompletionMessage)
{
    pages[3]->stopAfter = 13;  // the partitions page meets a stop
    const std::vector<std::string> expected{"r16", "r20", "r2", "r13"};
    EXPECT_EQ(Run(5), expected);
    EXPECT_TRUE(h.messages.empty());
}

TEST_F(Dispatch, PageJobsReadAndWriteTheCurrentPageOnly)
{
    EXPECT_EQ(Run(3), std::vector<std::string>{"r226"});
    EXPECT_EQ(Run(4), std::vector<std::string>{"w226"});
}
