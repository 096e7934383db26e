#include "pages/f_MessageDlg.h"

#include <algorithm>

#include "core/NumberText.h"
#include "device/DevVeltra.h"
#include "link/xModem.h"
#include "pages/f_Radio.h"

namespace nvx {

namespace {

constexpr const char* kFormName = "formMessage";
constexpr const char* kCancel = "Отмена";

}  // namespace

TformMessageDlg::TformMessageDlg(TDevVeltra& device) : form_(kFormName), device_(device)
{
    form_.add(kFormName, ControlKind::Form, "Сообщение").visible = false;
    form_.add("lbMessage", ControlKind::Label);
    form_.add("lbType", ControlKind::Label);
    form_.add("btnOKCancel", ControlKind::Button, kCancel);
    form_.add("RzPanel1", ControlKind::Panel).visible = false;
    form_.add("Button1", ControlKind::Button, "Добавить датчик со стандартными настройками");
    form_.add("Button2", ControlKind::Button, "\"Изменить период передачи тревожных сообщений датчиком\"");
    form_.add("RzPanel2", ControlKind::Panel).visible = false;
    form_.add("lbPeriod", ControlKind::Label, "Период передачи тревожных сообщений датчиком");
    form_.add("Edit1", ControlKind::Edit, std::to_string(kShortestPeriod)).maxLength = 2;
    form_.add("lbSeconds", ControlKind::Label, "сек.");

    form_.setAction("Button1", [this] { ChooseStandardSettings(); });
    form_.setAction("Button2", [this] { ChoosePeriod(); });
    form_.setAction("btnOKCancel", [this] { ClickOkCancel(); });
}

void TformMessageDlg::ApplyProgramSwitches(const IniFile& settings)
{
    advanceAdd_ = settings.ReadBool(kFormName, "advanceAdd", false);
}

bool TformMessageDlg::ShowSearch(const std::string& text, bool offerAdvanced)
{
    advanced_ = advanceAdd_ && offerAdvanced;
    form_.setText("lbMessage", text);
    form_.setText("lbType", "");
    form_.setText("btnOKCancel", kCancel);
    form_.setVisible("RzPanel1", advanced_);
    form_.setVisible("RzPanel2", false);
    form_.setVisible(kFormName, true);
    return advanced_;
}

bool TformMessageDlg::Visible() const { return form_.visible(kFormName); }

int TformMessageDlg::PeriodSeconds() const
{
    const auto seconds = ReadDecimal(form_.text("Edit1"));
    return std::clamp(static_cast<int>(seconds.value_or(kShortestPeriod)), kShortestPeriod, kLongestPeriod);
}

void TformMessageDlg::Close()
{
    if (!Visible())
        return;
    if (form_.text("btnOKCancel") == kCancel && device_.Link())
        device_.abortState = true;
    form_.setVisible(kFormName, false);
}

void TformMessageDlg::PeriodFieldLeft()
{
    const auto seconds = ReadDecimal(form_.text("Edit1"));
    if (!seconds || *seconds < static_cast<unsigned>(kShortestPeriod))
        form_.setText("Edit1", std::to_string(kShortestPeriod));
}

void TformMessageDlg::PeriodKeyReleased()
{
    const auto seconds = ReadDecimal(form_.text("Edit1"));
    if (seconds && *seconds > static_cast<unsigned>(kLongestPeriod))
        form_.setText("Edit1", std::to_string(kLongestPeriod));
}

void TformMessageDlg::ChooseStandardSettings()
{
    form_.setVisible("RzPanel1", false);
    periodChosen_ = false;
    form_.setText("btnOKCancel", kCancel);
    StartEnrolment();
}

void TformMessageDlg::ChoosePeriod()
{
    form_.setVisible("RzPanel1", false);
    form_.setVisible("RzPanel2", true);
    periodChosen_ = true;
}

void TformMessageDlg::ClickOkCancel()
{
    if (advanced_ && form_.visible("RzPanel2")) {
        form_.setVisible("RzPanel2", false);
        form_.setText("btnOKCancel", kCancel);
        StartEnrolment();
        return;
    }
    Close();
}

void TformMessageDlg::StartEnrolment()
{
    if (TModem* link = device_.Link())
        link->SetJob(TformRadio::kJobEnrol);
}

}  // namespace nvx
