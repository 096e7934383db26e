#include "pages/f_NVX.h"

#include <algorithm>
#include <cctype>

#include "device/DevVeltra.h"
#include "device/PageDirectory.h"

namespace nvx {

namespace {

constexpr const char* kOnAnswer = "1114061E03";

std::string StateText(bool on)
{
    return on ? "защита от животных включена" : "защита от животных выключена";
}

}  // namespace

TFormNVX::TFormNVX() : TformIncl("FormNVX", page_id::kMotionSensor, "Датчик движения")
{
    form_.add("MainGroupBox", ControlKind::GroupBox, "Датчик движения");
    form_.add("RzRichEdit1", ControlKind::RichText).value = 0;  // empty until the first read
    Control& button = form_.add("CatButton", ControlKind::Button);
    button.value = 0;  // picture 0: without pet immunity
}

bool TFormNVX::AnswerMeansOn(const std::string& answer)
{
    std::string upper = answer;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find(kOnAnswer) != std::string::npos;
}

void TFormNVX::SetPetImmune(bool on)
{
    petImmune_ = on;
    form_.update("CatButton", [&](Control& c) { c.value = on ? 1 : 0; });
    form_.update("RzRichEdit1", [&](Control& c) { c.value = on ? kNoteOn : kNoteOff; });
}

void TFormNVX::Press(bool linkExists, const std::function<void()>& requestWrite)
{
    if (writing_)
        return;
    SetPetImmune(!petImmune_);
    if (!linkExists || !requestWrite)
        return;
    writing_ = true;
    form_.setEnabled("CatButton", false);
    requestWrite();
}

void TFormNVX::WriteAbandoned()
{
    if (!writing_)
        return;
    writing_ = false;
    form_.setEnabled("CatButton", true);
}

void TFormNVX::ShowOnInterfaceThread(TDevVeltra& device, bool on)
{
    device.Calls().Call([this, on] { SetPetImmune(on); }, [&device] { return device.LinkStopping(); });
}

void TFormNVX::ReadFromDevice(TDevVeltra& device)
{
    std::string value;
    if (device.ReadValue("+pAVCP", value))
        ShowOnInterfaceThread(device, AnswerMeansOn(value));
}

void TFormNVX::WriteToDevice(TDevVeltra& device)
{
    const bool wanted = petImmune_;
    std::string refused;
    for (const Parameter& p : kParameters) {
        const std::string command = std::string(p.command) + (wanted ? p.on : p.off);
        std::string value;
        if (!device.ReadValue(command, value) || value == "ERR")
            refused += (refused.empty() ? "" : ", ") + command;
    }
    // The page shows what the sensor holds, not what was asked of it.
    std::string held;
    const bool readBack = device.ReadValue("+pAVCP", held) && held != "ERR";
    const bool actual = readBack && AnswerMeansOn(held);
    if (readBack)
        ShowOnInterfaceThread(device, actual);

    if (!refused.empty() || !readBack || actual != wanted) {
        std::string message = "Не удалось записать настройку в датчик.";
        if (!refused.empty())
            message += " Датчик не подтвердил команды: " + refused + ".";
        message += readBack ? " Сейчас в датчике: " + StateText(actual) + "."
                            : " Прочитать состояние датчика не удалось, проверьте подключение.";
        device.Log(message);
        device.Queue().PostNotice(message);
    } else {
        device.Log("Настройка записана в датчик: " + StateText(actual) + ".");
    }
    writing_ = false;
    device.Queue().PostBool({&form_, "CatButton"}, true);
}

}  // namespace nvx
