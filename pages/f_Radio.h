// The radio sensors page: 32 sensor slots, each with its type, partition, entry delay and zone,
// the read and write of the slots, the enrolment and delete jobs, the zone and delay rules and
// the row copy commands of its popup menu. Rules, clicks and menu commands run on the interface
// thread; the read, the write and the jobs on the link thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "pages/SensorWire.h"
#include "pages/fIn.h"

namespace nvx {

class TformMessageDlg;

class TformRadio : public TformIncl {
public:
    static constexpr int kSlots = 32;
    static constexpr std::uint8_t kJobEnrol = 18, kJobDelete = 19;

    TformRadio(TDevVeltra& device, TformMessageDlg& dialog);
    ~TformRadio() override;

    void ReadSensors(TDevVeltra& device);   // link thread: the "read radio sensors" operation
    void WriteSensors(TDevVeltra& device);  // link thread: the "write radio sensors" operation
    void ApplyZoneRule(int row);            // interface thread

    // "What the user confirms" (Yes/No warning); the view sets it, tests script it; unset = No.
    void SetConfirmation(std::function<bool(const std::string& text)> confirm);

    static std::string PartitionListName(int row);  // "cbR01".."cbR32"
    static std::string DelayListName(int row);      // "cbZ01"..
    static std::string ZoneListName(int row);       // "cbZn01"..
    static std::string TypeFieldName(int row);      // "etT1"..
    static std::string NumberLabelName(int row);    // "lbN1"..
    static std::string ButtonName(int row);         // "btnAdd1"..
    // The popup menu's commands, in menu order.
    static constexpr const char* kMenuItems[] = {"nCopy", "nInsert", "N2", "N3"};

    // Whether the row's button records an enrolled sensor ("Удалить").
    bool Enrolled(int row) const;
    // A mouse press on a number label or type field: the popup menu acts on that row.
    void SetPopupRow(const std::string& controlName);
    int PopupRow() const { return popupRow_; }

    void ReadFromDevice(TDevVeltra& device) override { ReadSensors(device); }
    void WriteToDevice(TDevVeltra& device) override { WriteSensors(device); }

    void ClearForRead() override;
    void PrepareRead() override;
    bool HasDefaults() const override { return true; }
    void SetDefaults() override;

private:
    SensorSettings SettingsOf(int row) const;
    void SetSettings(int row, const SensorSettings& settings);
    void ApplyDelayRule(int row);
    void ApplyZoneRuleToAll();
    void ResetRows();
    void OnControlChanged(const std::string& name);
    void ClickAddDelete(int row);
    void CopyRow();
    void PasteRow();
    void ApplyToRows(bool sameTypeOnly);

    void EnrolSensor();
    void Enrol(int slot);
    void DeleteSensor();
    ControlRef Ref(const std::string& name) { return {&form_, name}; }

    TDevVeltra& device_;
    TformMessageDlg& dialog_;
    std::function<bool(const std::string&)> confirm_;
    std::atomic<int> selectedSlot_{0};
    int popupRow_ = 0;                          // interface thread
    std::optional<SensorSettings> copyBuffer_;  // interface thread
    int subscription_ = 0;
    bool shown_ = false;  // interface thread
};

}  // namespace nvx
