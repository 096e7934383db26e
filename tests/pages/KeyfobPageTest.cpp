// The keyfobs page without a line: the record and learn-answer encodings, the page's own rules on
// its model, its state in the settings file, and the check of the partitions page's EXIT boxes.
#include <gtest/gtest.h>

#include <optional>

#include "core/IniFile.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "device/PageDirectory.h"
#include "pages/KeyfobWire.h"
#include "pages/f_Bibelot.h"
#include "pages/f_MessageDlg.h"
#include "pages/f_Radio.h"
#include "pages/f_Razd.h"
#include "pages/f_Shleif.h"

using namespace nvx;

TEST(KeyfobWire, RecordsCarrySlotAndPartitionSetInHex)
{
    struct Case {
        int slot;
        std::uint8_t set;
        const char* record;
    };
    for (const Case& c : {Case{2, 0x05, "0205"}, Case{2, 0xFF, "02FF"}, Case{1, 0x03, "0103"},
                          Case{16, 0x00, "1000"}, Case{12, 0x3F, "0C3F"}}) {
        EXPECT_EQ(KeyfobRecord(c.slot, c.set), c.record);
        EXPECT_EQ(KeyfobRecordSet(c.record), c.set) << c.record;
    }
    EXPECT_EQ(KeyfobRecordSet("02ff"), 0xFF);
    for (const char* undecodable : {"ERR", "02", "02G5", "", "02 5"})
        EXPECT_EQ(KeyfobRecordSet(undecodable), std::nullopt) << undecodable;
    EXPECT_EQ(KeyfobLearnValue(3, 0x02), "03=0302");
}

TEST(KeyfobWire, LearnAnswerReading)
{
    using State = LearnAnswer::State;
    struct Case {
        const char* collected;
        State state;
        bool complete;
        int heldSlot;
    };
    const Case cases[] = {
        {"", State::Searching, false, 0},
        {"+L03=0302\r", State::Searching, false, 0},
        {"+L03=0302\rVER\r\n", State::NotFound, false, 0},
        {"+L03=0302\rVER\r\nOK\r\n", State::NotFound, true, 0},
        {"+L03=0302\r\nOK\r\n", State::Found, true, 0},
        {"+L03=0302\r0CRESETADD\r\n", State::AlreadyEnrolled, true, 12},
        // The panel's "OK" in the same slice does not make the keyfob a new one.
        {"+L03=0302\r0CRESETADD\r\nOK\r\n", State::AlreadyEnrolled, true, 12},
        {"RESETADD", State::AlreadyEnrolled, true, 0},
        {"+L03=0302\rERR\r\n", State::Refused, true, 0},
    };
    for (const Case& c : cases) {
        const LearnAnswer answer = ReadLearnAnswer(c.collected);
        EXPECT_EQ(answer.state, c.state) << c.collected;
        EXPECT_EQ(answer.complete, c.complete) << c.collected;
        EXPECT_EQ(answer.heldSlot, c.heldSlot) << c.collected;
    }
}

namespace {

// The keyfobs page among the pages it looks at, as the program registers them.
class KeyfobPage : public ::testing::Test {
protected:
    KeyfobPage()
    {
        for (IDevicePage* p : std::initializer_list<IDevicePage*>{&radio, &partitions, &loops, &page})
            device.Pages().Register(*p);
    }

    FormModel& form() { return page.Form(); }
    std::string box(int slot, int p) { return TformBibelot::PartitionBoxName(slot, p); }
    std::string labelColour(int slot) { return form().get(TformBibelot::NumberLabelName(slot)).color; }
    void Drain() { queue.Drain({}); }

    TOutArray queue;
    TDevVeltra device{queue};
    TformMessageDlg dialog{device};
    TformRadio radio{device, dialog};
    TformRazd partitions{device};
    TformShleif loops{device};
    TformBibelot page{device, dialog};
};

}  // namespace

TEST_F(KeyfobPage, ControlsAndTheirNames)
{
    EXPECT_EQ(TformBibelot::PartitionBoxName(1, 1), "cb011");
    EXPECT_EQ(TformBibelot::PartitionBoxName(16, 6), "cb166");
    for (int slot = 1; slot <= TformBibelot::kSlots; ++slot) {
        EXPECT_EQ(form().text(TformBibelot::NumberLabelName(slot)), std::to_string(slot));
        EXPECT_EQ(form().text(TformBibelot::ButtonName(slot)), "Добавить");
        EXPECT_FALSE(form().enabled(TformBibelot::ButtonName(slot))) << "usable only once connected";
        for (int p = 1; p <= TformBibelot::kPartitions; ++p)
            EXPECT_TRUE(form().has(box(slot, p)));
    }
    EXPECT_TRUE(form().has("lbN16"));
    EXPECT_EQ(form().get("formBibelot").text, "Настройка брелоков");
}

TEST_F(KeyfobPage, NumberLabelIsLimeExactlyWhileTheButtonRecordsAKeyfob)
{
    EXPECT_EQ(labelColour(4), "clBtnFace");
    queue.PostText({&form(), "btnAdd4"}, "captionУдалить");
    Drain();
    EXPECT_EQ(form().text("btnAdd4"), "Удалить");
    EXPECT_EQ(labelColour(4), "clLime");
    EXPECT_EQ(labelColour(5), "clBtnFace");
    queue.PostText({&form(), "btnAdd4"}, "captionДобавить");
    Drain();
    EXPECT_EQ(labelColour(4), "clBtnFace");
}

TEST_F(KeyfobPage, PartitionSetCountsOnlyCheckedBoxesThatAreEnabled)
{
    EXPECT_EQ(page.PartitionSet(1), 0) << "a keyfob without partitions is written with 00";
    form().setChecked(box(1, 1), true);
    form().setChecked(box(1, 3), true);
    EXPECT_EQ(page.PartitionSet(1), 0x05);
    form().setChecked(box(2, 6), true);
    EXPECT_EQ(page.PartitionSet(2), 0x20);
    // A 24-hour partition disables its box; a tick left in it is not sent.
    form().setEnabled(box(1, 3), false);
    EXPECT_EQ(page.PartitionSet(1), 0x01);
}

TEST_F(KeyfobPage, ClearForReadFreesEveryRowAndDefaultsChangeNothing)
{
    form().setText("btnAdd3", "Удалить");
    form().setChecked(box(3, 2), true);
    form().setChecked(box(9, 6), true);

    page.SetDefaults();
    EXPECT_EQ(form().text("btnAdd3"), "Удалить");
    EXPECT_TRUE(form().checked(box(3, 2)));
    EXPECT_TRUE(form().checked(box(9, 6)));

    page.ClearForRead();
    for (int slot = 1; slot <= TformBibelot::kSlots; ++slot) {
        EXPECT_EQ(form().text(TformBibelot::ButtonName(slot)), "Добавить");
        EXPECT_TRUE(form().enabled(TformBibelot::ButtonName(slot)));
        EXPECT_EQ(labelColour(slot), "clBtnFace");
        for (int p = 1; p <= TformBibelot::kPartitions; ++p)
            EXPECT_FALSE(form().checked(box(slot, p)));
    }
}

TEST_F(KeyfobPage, StateKeepsEnrolmentAndPartitions)
{
    form().setText("btnAdd7", "Удалить");
    form().setChecked(box(7, 2), true);
    form().setChecked(box(7, 5), true);
    form().setChecked(box(8, 1), true);  // a free slot's boxes are kept as they are
    IniFile ini(::testing::TempDir() + "keyfob-state.ini");
    page.SaveState(ini);

    page.ClearForRead();
    form().setText("btnAdd2", "Удалить");
    page.LoadState(ini);
    EXPECT_EQ(form().text("btnAdd7"), "Удалить");
    EXPECT_EQ(labelColour(7), "clLime");
    EXPECT_EQ(form().text("btnAdd2"), "Добавить");
    EXPECT_EQ(labelColour(2), "clBtnFace");
    EXPECT_EQ(page.PartitionSet(7), 0x12);
    EXPECT_EQ(page.PartitionSet(8), 0x01);
}

namespace {

struct ExitCase {
    const char* what;
    int sensorPartition;   // every radio sensor row shows this partition
    int loopPartitions[2];
    int twentyFourHour;    // 0: none
    int fire;              // 0: none
    bool allowed[6];       // EXIT box p enabled and keeps its tick
};

}  // namespace

TEST_F(KeyfobPage, PartitionCheckAllowsExitButtonOnlyForUsedOrdinaryPartitions)
{
    const ExitCase cases[] = {
        {"sensors and loops in partition 1", 1, {1, 1}, 0, 0, {true, false, false, false, false, false}},
        {"each loop adds its partition", 1, {3, 6}, 0, 0, {true, false, true, false, false, true}},
        {"sensors alone make a partition used", 5, {5, 5}, 0, 0, {false, false, false, false, true, false}},
        {"a 24-hour partition never", 2, {3, 4}, 3, 0, {false, true, false, true, false, false}},
        {"a fire partition never", 2, {3, 4}, 0, 4, {false, true, true, false, false, false}},
    };
    FormModel& exits = partitions.Form();
    FormModel& sensors = radio.Form();
    for (const ExitCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (int row = 1; row <= TformRadio::kSlots; ++row)
            sensors.setIndex(TformRadio::PartitionListName(row), c.sensorPartition - 1);
        loops.Form().setIndex("cbRazdNum1", c.loopPartitions[0] - 1);
        loops.Form().setIndex("cbRazdNum2", c.loopPartitions[1] - 1);
        for (int p = 1; p <= 6; ++p) {
            exits.setChecked("cb24h" + std::to_string(p), p == c.twentyFourHour);
            exits.setChecked("cbFire" + std::to_string(p), p == c.fire);
            exits.setEnabled("CheckBox" + std::to_string(p), true);
            exits.setChecked("CheckBox" + std::to_string(p), true);
        }

        page.CheckPartitions();
        for (int p = 1; p <= 6; ++p) {
            const std::string exit = "CheckBox" + std::to_string(p);
            EXPECT_EQ(exits.enabled(exit), c.allowed[p - 1]) << exit;
            EXPECT_EQ(exits.checked(exit), c.allowed[p - 1]) << exit;
        }
    }
}

TEST_F(KeyfobPage, ShowingThePageRunsThePartitionCheck)
{
    for (int row = 1; row <= TformRadio::kSlots; ++row)
        radio.Form().setIndex(TformRadio::PartitionListName(row), 0);
    loops.Form().setIndex("cbRazdNum1", 0);
    loops.Form().setIndex("cbRazdNum2", 0);
    partitions.Form().setEnabled("CheckBox2", true);
    partitions.Form().setChecked("CheckBox2", true);

    form().setVisible("formBibelot", true);
    EXPECT_FALSE(partitions.Form().enabled("CheckBox2"));
    EXPECT_FALSE(partitions.Form().checked("CheckBox2"));
}
