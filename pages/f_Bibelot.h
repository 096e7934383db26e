// The keyfobs page: 16 keyfob slots with the partitions each keyfob controls, the read and write
// of the slots, the enrolment and delete jobs and the check of the partitions page's EXIT-button
// boxes. Rules and clicks run on the interface thread; the read, the write and the jobs on the
// link thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "pages/fIn.h"

namespace nvx {

class TformMessageDlg;

class TformBibelot : public TformIncl {
public:
    static constexpr int kSlots = 16;
    static constexpr int kPartitions = 6;
    static constexpr std::uint8_t kJobEnrol = 16, kJobDelete = 17;

    TformBibelot(TDevVeltra& device, TformMessageDlg& dialog);
    ~TformBibelot() override;

    void ReadKeyfobs(TDevVeltra& device);   // link thread; runs TformRazd::ReadPartitionSettings first
    void WriteKeyfobs(TDevVeltra& device);  // link thread
    void CheckPartitions();                 // interface thread: the partition check

    // "What the user confirms" (Yes/No warning); the view sets it, tests script it; unset = No.
    void SetConfirmation(std::function<bool(const std::string& text)> confirm);

    static std::string PartitionBoxName(int slot, int partition);  // "cb011".."cb166"
    static std::string NumberLabelName(int slot);                  // "lbN01".."lbN16"
    static std::string ButtonName(int slot);                       // "btnAdd1".."btnAdd16"

    // Whether the slot's button records an enrolled keyfob ("Удалить").
    bool Enrolled(int slot) const;
    // The partition set the page would send for a slot: its checked boxes that are enabled.
    std::uint8_t PartitionSet(int slot) const;

    void ReadFromDevice(TDevVeltra& device) override { ReadKeyfobs(device); }
    void WriteToDevice(TDevVeltra& device) override { WriteKeyfobs(device); }

    // Every button "Добавить" and enabled, every box cleared: before a read and before read all.
    void ClearForRead() override;
    void PrepareRead() override;
    // The page has no defaults of its own: the defaults command leaves it as it is.
    void SetDefaults() override {}

private:
    void ClickAddDelete(int slot);
    void EnrolKeyfob();
    void DeleteKeyfob();
    void Enrol(int slot);
    void ClearSlots();
    void OnControlChanged(const std::string& name);

    // Queue commands of the link thread.
    void PostEnrolled(int slot);
    void PostFreed(int slot);

    TDevVeltra& device_;
    TformMessageDlg& dialog_;
    std::function<bool(const std::string&)> confirm_;
    std::atomic<int> selectedSlot_{0};
    int subscription_ = 0;
    bool shown_ = false;  // interface thread
};

}  // namespace nvx
