// The pet-immune motion sensor page: one setting, pet immunity on or off, shown by a picture
// button and a note, switched by pressing the button and written to the sensor as four
// parameters, then read back so the page shows what the sensor really holds.
// Press and SetPetImmune run on the interface thread; the read and write on the link thread.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <string>

#include "pages/fIn.h"

namespace nvx {

class TFormNVX : public TformIncl {
public:
    // Note identifiers of the two explanatory texts; the note shown is kNoteOff + state.
    static constexpr int kNoteOff = 1024;
    static constexpr int kNoteOn = 1025;

    struct Parameter {
        const char* command;  // "+pA=" ...
        const char* on;
        const char* off;
    };
    static constexpr std::array<Parameter, 4> kParameters{{
        {"+pA=", "11", "06"},
        {"+pV=", "14", "07"},
        {"+pC=", "061E", "0614"},
        {"+pP=", "03", "03"},
    }};

    TFormNVX();

    // Whether an answer to "+pAVCP" means pet immunity on.
    static bool AnswerMeansOn(const std::string& answer);

    bool PetImmune() const { return petImmune_; }
    bool Writing() const { return writing_; }
    void SetPetImmune(bool on);

    // The button: toggles the state and asks for the write through `requestWrite` (the window's
    // write page command) when a link exists. Refused while a write is running: the button is
    // disabled until the sensor's state has been read back.
    void Press(bool linkExists, const std::function<void()>& requestWrite);
    // The link went away before the write job ended: the button works again.
    void WriteAbandoned();

    void ReadFromDevice(TDevVeltra& device) override;
    void WriteToDevice(TDevVeltra& device) override;
    void LoadState(const IniFile&) override {}
    void SaveState(IniFile&) override {}

private:
    void ShowOnInterfaceThread(TDevVeltra& device, bool on);

    std::atomic<bool> petImmune_{false};
    std::atomic<bool> writing_{false};
};

}  // namespace nvx
