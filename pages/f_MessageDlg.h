// The enrolment dialog model ("formMessage"): the message shown while the panel searches for a
// radio sensor or keyfob, the cancel button, and the advanced form that chooses the sensor's
// alarm transmission period. Its rules run on the interface thread; the link thread posts to
// lbMessage, lbType and btnOKCancel and reads the period flags.
#pragma once

#include <atomic>
#include <string>

#include "core/FormModel.h"
#include "core/IniFile.h"

namespace nvx {

class TDevVeltra;

class TformMessageDlg {
public:
    static constexpr int kShortestPeriod = 5;   // seconds
    static constexpr int kLongestPeriod = 60;

    explicit TformMessageDlg(TDevVeltra& device);
    TformMessageDlg(const TformMessageDlg&) = delete;
    TformMessageDlg& operator=(const TformMessageDlg&) = delete;

    FormModel& Form() { return form_; }
    const FormModel& Form() const { return form_; }

    // [formMessage] advanceAdd of the program settings file, read once at start-up.
    void ApplyProgramSwitches(const IniFile& settings);

    // Shows the dialog for a search: lbMessage = text, lbType cleared, btnOKCancel "Отмена".
    // `offerAdvanced` true only from the radio sensors page; returns whether the advanced form
    // is shown.
    bool ShowSearch(const std::string& text, bool offerAdvanced);
    bool Visible() const;
    bool PeriodChosen() const { return periodChosen_; }
    // The period in Edit1, kept within 5..60 seconds.
    int PeriodSeconds() const;

    // The user closes the window (its close box or btnOKCancel): while the button reads "Отмена"
    // and a device is connected, the search is cancelled.
    void Close();
    // Edit1 rules: leaving it with less than 5 sets "5"; more than 60 after a key sets "60".
    void PeriodFieldLeft();
    void PeriodKeyReleased();

private:
    void ChooseStandardSettings();
    void ChoosePeriod();
    void ClickOkCancel();
    void StartEnrolment();

    FormModel form_;
    TDevVeltra& device_;
    bool advanceAdd_ = false;  // interface thread
    bool advanced_ = false;    // interface thread
    std::atomic<bool> periodChosen_{false};
};

}  // namespace nvx
