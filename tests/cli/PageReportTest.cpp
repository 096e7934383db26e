// A settings page prints from its form model alone, with the marks the exchange left: the
// way every panel page will reach the installer's screen and script.
#include "cli/PageReport.h"

#include <gtest/gtest.h>
#include <sstream>

namespace nvx::cli {
namespace {

class SamplePage : public TformIncl {
public:
    SamplePage() : TformIncl("formSample", 16, "Общие настройки")
    {
        form_.add("lbCode", ControlKind::Label, "Код:");
        form_.add("etCode", ControlKind::Edit, "1234").color = "clBlue";
        form_.add("meTime", ControlKind::MaskEdit, "12:00\x1b[2J");
        Control& fire = form_.add("cbFire", ControlKind::CheckBox);
        fire.checked = true;
        fire.fontColor = "clRed";
        form_.add("rbAuto", ControlKind::RadioButton);
        Control& partition = form_.add("cbRazd", ControlKind::ComboBox);
        partition.items = {"Раздел 1", "Раздел 2"};
        partition.index = 1;
        Control& mode = form_.add("rgMode", ControlKind::RadioGroup, "Режим");
        mode.items = {"Рабочий", "Тест"};
        mode.index = 0;
        Control& phones = form_.add("sgPhones", ControlKind::StringGrid);
        phones.cells = {{"№", "Номер"}, {"1", "+79001234567"}, {"", ""}};
        form_.add("btnAdd", ControlKind::Button, "Добавить");
    }
};

TEST(CliPageReport, PrintsValueControlsWithTheirMarks)
{
    SamplePage page;
    std::ostringstream out;
    PrintPage(out, page);
    EXPECT_EQ(out.str(), "[Общие настройки] страница 16\n"
                         "  etCode = \"1234\" [ok]\n"
                         "  meTime = \"12:00\\x1B[2J\"\n"
                         "  cbFire = да [ошибка]\n"
                         "  rbAuto = нет\n"
                         "  cbRazd = 1 \"Раздел 2\"\n"
                         "  rgMode = 0 \"Рабочий\"\n"
                         "  sgPhones[0] = № | Номер\n"
                         "  sgPhones[1] = 1 | +79001234567\n");
}

TEST(CliPageReport, FailedControlsAreThoseMarkedRed)
{
    SamplePage page;
    EXPECT_EQ(FailedControls(page), std::vector<std::string>{"cbFire"});
    page.Form().setColor("etCode", "clRed");
    EXPECT_EQ(FailedControls(page), (std::vector<std::string>{"etCode", "cbFire"}));
}

} // namespace
} // namespace nvx::cli
