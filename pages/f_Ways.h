// The communication channels page: eight channels, each a phone number with a transmission type,
// grouped into directions by the "И"/"Или" link between neighbours, the rule for moving between
// directions, and the switch for GPRS online through the SIM, of which the GPRS page keeps a copy.
// Compaction, the GPRS switch, defaults and state run on the interface thread; the read and write
// on the link thread; ChannelShortName and DirectionOf only read the model, on any thread.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "device/PageDirectory.h"
#include "pages/fIn.h"

namespace nvx {

class TformWays : public TformIncl {
public:
    static constexpr int kChannels = 8;
    static constexpr int kLinks = kChannels - 1;
    static constexpr int kNotUsed = 0;
    // The type list; the two GPRS-offline items are offered only while GPRS online is off.
    static constexpr std::array<const char*, 5> kTypeItems{"Не используется",
                                                           "Contact ID через цифровой канал GSM", "SMS - SIM",
                                                           "GPRS-offline IP1", "GPRS-offline IP2"};
    static constexpr int kTypesWithGprsOnline = 3;

    // `pages` finds the GPRS page, whose copy of the switch this page keeps equal to its own.
    explicit TformWays(const PageDirectory& pages);

    // Control names: channel n = 1..8, link n = 1..7 (between channel n and n + 1).
    static std::string PhoneName(int channel);
    static std::string TypeName(int channel);
    static std::string LabelName(int channel);
    static std::string AndName(int link);
    static std::string OrName(int link);

    // The short name of the type selected for channel 1..8, as the event history names the
    // channel; empty for any other number.
    std::string ChannelShortName(int channel) const;
    // The direction (0 = the first) channel 1..8 belongs to: each "И" link before it starts one.
    int DirectionOf(int channel) const;
    // The channel lists of directions 0..7 as the write sends them, empty lists last.
    std::vector<std::string> DirectionsToWrite() const;

    // Moves the used channels to the front, keeping their order, phones and links.
    void Compact();
    // Sets the GPRS online switch and applies its rule to the type lists and the GPRS page.
    void SetGprsOnline(bool on);

    void PrepareRead() override;
    void SetDefaults() override;
    bool HasDefaults() const override { return true; }
    void LoadState(const IniFile& ini) override;
    void SaveState(IniFile& ini) override;

    void ReadFromDevice(TDevVeltra& device) override;
    void WriteToDevice(TDevVeltra& device) override;

private:
    int TypeOf(int channel) const;
    bool Used(int channel) const { return TypeOf(channel) != kNotUsed; }
    bool LinkIsAnd(int link) const;
    void SetType(int channel, int type);
    void SetLink(int link, bool isAnd);
    void ApplyGprsSwitch(bool on);
    void OfferTypes(int count);

    // Each returns false when something failed that the page's message should report.
    bool ReadSteps(TDevVeltra& device);
    enum class Step { Next, Stop };
    Step ReadGprsOnline(TDevVeltra& device, bool& ok);
    Step ReadTypes(TDevVeltra& device, bool& ok);
    Step ReadDirections(TDevVeltra& device, bool& ok);
    void ReadTransition(TDevVeltra& device, bool& ok);
    bool WriteSteps(TDevVeltra& device);
    bool WriteDirections(TDevVeltra& device);

    const PageDirectory& pages_;
};

} // namespace nvx
