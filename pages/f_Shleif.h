// The wired loops page: the loop type and wiring, the two loops' numbers, partitions, delays and
// zones, the measured state of each loop, and the threshold panel with its two sliders. Rules,
// defaults and state run on the interface thread; the reads and writes on the link thread.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "pages/fIn.h"

namespace nvx {

class TformShleif : public TformIncl {
public:
    static constexpr int kLoops = 2;
    static constexpr int kThresholds = 5;
    // The sliders' value range; value v stands for the code v + 64.
    static constexpr int kSliderMaximum = 936;
    // The five-boundary view (written) and the four-boundary view of t1, t2, t3 and t5.
    static constexpr std::array<const char*, kThresholds> kThresholdEdits{"etKZn1", "etZAMn1", "etZAM2n1",
                                                                          "etZAM1n1", "etRAZn1"};
    static constexpr std::array<const char*, 4> kShortViewEdits{"etKZ2n1", "etAlarmn1", "etWarnn1", "etNormn1"};
    static constexpr std::array<int, 4> kShortViewThresholds{0, 1, 2, 4};
    static constexpr const char* kFullSlider = "tsn1";
    static constexpr const char* kShortSlider = "ts2n1";
    static constexpr const char* kThresholdsButton = "btnThresholds";
    static constexpr const char* kThresholdsPanel = "RzGroupBox2n1";

    explicit TformShleif(TDevVeltra& device);
    ~TformShleif() override;
    TformShleif(const TformShleif&) = delete;
    TformShleif& operator=(const TformShleif&) = delete;

    void ReadLoopThresholds(TDevVeltra& device);   // "+wt", "+M"
    void ReadLoopParameters(TDevVeltra& device);   // "+wz", "+dp"
    void WriteLoopThresholds(TDevVeltra& device);  // "+wt=", "+M="
    void WriteLoopParameters(TDevVeltra& device);  // "+wz=", "+dp="

    bool Resistive() const;                        // rzt0 checked
    void RefreshExitDelays();                      // meIN1/2 from the partitions page's exit delays
    void ResetLoopRows();                          // the loop-row reset of the defaults
    // 24-hour partition p: loops in p get entry delay "000" and zone "мгновенная".
    void ApplyTwentyFourHour(int partition);

    // Loop n = 1, 2.
    static std::string StateName(int loop) { return "etState" + std::to_string(loop); }
    static std::string NormalName(int loop) { return "cbNorm" + std::to_string(loop); }
    static std::string PartitionName(int loop) { return "cbRazdNum" + std::to_string(loop); }
    static std::string EntryDelayName(int loop) { return "meTO" + std::to_string(loop); }
    static std::string ExitDelayName(int loop) { return "meIN" + std::to_string(loop); }
    static std::string ZoneName(int loop) { return "cbZn" + std::to_string(loop); }
    static std::string ResistorName(int n) { return "etNomZone" + std::to_string(n); }

    // The text a loop's state field shows for the panel's measured input and normal state digits.
    static std::string StateText(int measuredInput, int normalState);
    // An entry delay as typed, as the page keeps it: three digits, 0..254.
    static std::string NormalisedDelay(const std::string& text);

    // A slider dragged to `values` (0..936, left to right): both views' texts follow. Interface thread.
    void SliderMoved(const std::string& slider, const std::vector<int>& values);
    // Whether the loop event group shows (with board selector 2 the connection hides it).
    bool EventGroupShows() const;

    void ClearForRead() override;
    void PrepareRead() override;
    void SetDefaults() override;
    bool HasDefaults() const override { return true; }
    void LoadState(const IniFile& ini) override;

    void ReadFromDevice(TDevVeltra& device) override;
    void WriteToDevice(TDevVeltra& device) override;

private:
    struct LoopValues {
        int input = 0;
        int normal = 0;
        int partition = 0;
        int zone = 0;
        int delay = 0;
    };

    // Whether the loops were read and shown.
    bool ReadParameters(TDevVeltra& device);
    void OnChange(const std::string& name);
    void ApplyZoneRule(int loop);
    void ApplyEntryDelayRule(int loop);
    void ApplyResistorRule(int n);
    void ApplyLoopTypeRule();
    void ApplyLoopEventsRule();
    void ClickLoopEvents(const std::string& button);
    void ApplyBoardGroups(const std::string& name);
    void ShowThresholds(const std::array<int, kThresholds>& codes);
    void ThresholdTextChanged(const std::string& name);
    void SyncSliders();
    void ResetRowsForRead();
    void ShowLoops(bool typeKnown, bool potentialFree, const std::array<LoopValues, kLoops>& loops);
    void MarkRows(TDevVeltra& device, bool confirmed);
    std::vector<ControlRef> RowControls();

    TDevVeltra& device_;
    int subscription_ = 0;
    std::array<int, kLoops> shownZone_{};
    std::array<int, kLoops> shownPartition_{};
};

}  // namespace nvx
