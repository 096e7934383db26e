#include "shell/WindowModels.h"

#include "device/FactoryDefaults.h"

namespace nvx {

namespace {

void AddToolButton(FormModel& form, const char* name, const char* hint, bool enabled, bool visible)
{
    Control& c = form.add(name, ControlKind::ToolButton, {}, hint);
    c.enabled = enabled;
    c.visible = visible;
}

void AddMenu(FormModel& form, const char* name, const char* caption, bool enabled = true, bool visible = true)
{
    Control& c = form.add(name, ControlKind::MenuItem, caption);
    c.enabled = enabled;
    c.visible = visible;
}

}  // namespace

std::unique_ptr<FormModel> BuildMainFormModel()
{
    auto form = std::make_unique<FormModel>("Form1");
    form->add("Form1", ControlKind::Form);
    // Only connect and disconnect are shown in this build; the rest exist and work.
    AddToolButton(*form, "tbtnConnect", "Подключиться", true, true);
    AddToolButton(*form, "tbtnDisconnect", "Отключиться", false, true);
    AddToolButton(*form, "tbtnRead", "Прочитать настройки с данной страницы", false, false);
    AddToolButton(*form, "tbtnWrite", "Записать настройки с данной страницы", false, false);
    AddToolButton(*form, "tbtnReadAll", "Прочитать все настройки", false, false);
    AddToolButton(*form, "tbtnWriteAll", "Записать все настройки", false, false);
    AddToolButton(*form, "tbtnDefault", "Настройки по умолчанию на данной странице", false, false);
    AddToolButton(*form, "tbtnDefaultAll", "Все настройки по умолчанию", false, false);
    AddToolButton(*form, "tbtnCalcel", "Остановить чтение/запись настроек", true, false);

    AddMenu(*form, "mnuFile", "Файл");
    AddMenu(*form, "mnuConnections", "Соединение");
    AddMenu(*form, "mnuProperties", "Настройки", true, false);
    AddMenu(*form, "mnuHelp", "Помощь");
    AddMenu(*form, "N4", "Сервис", true, false);
    AddMenu(*form, "mnuConnect", "Подключиться");
    AddMenu(*form, "mnuDisconnect", "Отключиться", false);
    AddMenu(*form, "mnuRead", "Прочитать настройки с данной страницы", false, false);
    AddMenu(*form, "mnuWrite", "Записать настройки с данной страницы", false, false);
    AddMenu(*form, "mnuReadAll", "Прочитать все настройки", false, false);
    AddMenu(*form, "mnuWriteAll", "Записать все настройки", false, false);
    AddMenu(*form, "N1", "Настройки по умолчанию на данной странице", false, false);
    AddMenu(*form, "N2", "Все настройки по умолчанию", false, false);
    AddMenu(*form, "mnuSave", "Сохранить", true, false);
    AddMenu(*form, "mnuLoad", "Загрузить", true, false);
    AddMenu(*form, "N6", "Шаблоны настройки радиореле", true, false);
    AddMenu(*form, "mnuUpdate", "Обновление версии прошивки из файла", true, false);
    AddMenu(*form, "N5", "Обновление прошивки", true, false);
    AddMenu(*form, "mnuExit", "Выход");
    AddMenu(*form, "mnuAbout", "О программе");

    form->add("tv1", ControlKind::PageTree);
    Control& status = form->add("StatusBar1", ControlKind::StatusBar);
    status.items.assign(6, std::string());
    status.visible = false;
    Control& progress = form->add("ProgressBar1", ControlKind::ProgressBar);
    progress.visible = false;
    form->add("RzBitBtn1", ControlKind::Button, "Очистить");
    form->add("RzBitBtn2", ControlKind::Button, "Сохранить");
    return form;
}

std::unique_ptr<FormModel> BuildSplashModel()
{
    auto form = std::make_unique<FormModel>("dlgSplash");
    form->add("dlgSplash", ControlKind::Form, "Подключение");
    form->add("Panel1", ControlKind::Panel, "Состояние подключения");
    form->add("Panel2", ControlKind::Panel);
    form->add("Button1", ControlKind::Button, "OK").visible = false;
    form->add("CancelBtn", ControlKind::Button, "Отмена");
    return form;
}

std::unique_ptr<FormModel> BuildConnectDialogModel()
{
    auto form = std::make_unique<FormModel>("dlgConnect");
    form->add("dlgConnect", ControlKind::Form, "Подключение к датчику");
    form->add("Label1", ControlKind::Label, "Com-порт:");
    form->add("ComPorts", ControlKind::ComboBox);
    form->add("SpeedButton2", ControlKind::SpeedButton, {}, "Отобразить com порты системы");
    form->add("SpeedButton1", ControlKind::Button, "Автоматический поиск по СОМ портам");
    form->add("Label3", ControlKind::Label, "Тип и параметры подключения:");
    Control& cable = form->add("rb1", ControlKind::RadioButton, "Кабель программирования");
    cable.checked = true;
    cable.group = "link";
    Control& modem = form->add("rb2", ControlKind::RadioButton, "GSM-модем");
    modem.group = "link";
    modem.visible = false;
    Control& phoneLabel = form->add("Label2", ControlKind::Label, "Номер телефона:");
    phoneLabel.enabled = false;
    phoneLabel.visible = false;
    Control& phones = form->add("Phones", ControlKind::ComboBox);
    phones.enabled = false;
    phones.visible = false;
    form->add("lbKey", ControlKind::Label, "Мастер-ключ:").visible = false;
    Control& key = form->add("meMasterKey", ControlKind::Edit, kFactoryMasterKey, kFactoryMasterKey);
    key.maxLength = 4;
    key.visible = false;
    form->add("OKBtn", ControlKind::Button, "OK");
    form->add("CancelBtn", ControlKind::Button, "Cancel");
    form->add("ProgressBar1", ControlKind::ProgressBar).visible = false;
    return form;
}

}  // namespace nvx
