#include "shell/Session.h"

#include <chrono>
#include <thread>

#include "core/FormStore.h"
#include "core/PageBaseOps.h"
#include "core/PhoneList.h"
#include "device/FactoryDefaults.h"
#include "device/PageDirectory.h"
#include "shell/PageCatalog.h"
#include "shell/PageTree.h"
#include "shell/WindowModels.h"

namespace nvx {

namespace {

// Orders in which the pages keep their state in the settings file.
constexpr int kLoadOrder[] = {16, 22, 17, 2, 8, 14, 15, 12, 1, 13, 66, 45, 10, 20};
constexpr int kSaveOrder[] = {16, 22, 17, 14, 15, 2, 12, 1, 13, 45, 10, 20, 8, 66};
// Pages whose defaults the defaults commands restore, in the order of "all defaults".
constexpr int kDefaultsOrder[] = {20, 14, 10, 13, 12, 1, 16, 17, 21, 15, 2, 8, 22};

// Controls of pages that the connect and disconnect commands switch with the link.
struct PageControl {
    int pageId;
    const char* name;
};
constexpr PageControl kLinkPageControls[] = {
    {page_id::kHistory, "btnClear"},   {page_id::kGeneral, "btnStop"},   {page_id::kGeneral, "btnStart"},
    {page_id::kGeneral, "btnReboot"},  {page_id::kGeneral, "btLamptest"}, {page_id::kOnlineLog, "btnCon"},
    {page_id::kRadioSettings, "btnClearSystem"},
};

}  // namespace

std::string PortNameOf(const std::string& portText)
{
    std::size_t b = portText.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    std::size_t e = portText.find_first_of(" \t", b);
    return portText.substr(b, e == std::string::npos ? std::string::npos : e - b);
}

Session::Session(Clock& clock)
    : clock_(clock), device_(queue_, clock), mainForm_(BuildMainFormModel()), splash_(BuildSplashModel()),
      connectDialog_(BuildConnectDialogModel()), messageDialog_(std::make_unique<TformMessageDlg>(device_))
{
    device_.Calls().BindToCurrentThread();
    device_.SetWindows(mainForm_.get(), splash_.get());
    targets_.mainForm = mainForm_.get();

    for (auto& page : CreatePages(device_, *messageDialog_))
        AddPage(std::move(page));
    sensorPage_ = dynamic_cast<TFormNVX*>(Page(page_id::kMotionSensor));
    // The live loop reading lands in the loops page; its views redraw from the model's changes.
    targets_.wiredLoopsPage = device_.Pages().Form(page_id::kWiredLoops);

    device_.SetHooks({[this] { SwitchToSensorPage(); },
                      [this](int pageId) { return FindPageNode(*mainForm_, pageId) >= 0; }, {}});
    mainForm_->setAction(kPageTree, [this] { OnTreeChanged(); });
    mainForm_->setAction("tbtnDisconnect", [this] { Disconnect(); });
    sensorPage_->Form().setAction("CatButton",
                                  [this] { sensorPage_->Press(LinkExists(), [this] { WritePageCommand(); }); });
}

Session::~Session()
{
    StopLinkAndWait();
}

void Session::AddPage(std::unique_ptr<TformIncl> page)
{
    pages_.push_back(page.get());
    device_.Pages().Register(*page);
    ownedPages_.push_back(std::move(page));
}

TformIncl* Session::Page(int pageId) const
{
    for (TformIncl* page : pages_)
        if (page->PageId() == pageId)
            return page;
    return nullptr;
}

TformIncl* Session::CurrentPage() const
{
    return dynamic_cast<TformIncl*>(device_.currentPage.load());
}

void Session::Tick()
{
    queue_.Drain(targets_);
    device_.Calls().RunPending();
}

void Session::BuildTree()
{
    BuildInitialPageTree(*mainForm_);
    SelectPage(PageIdAt(*mainForm_, 0));
    InsertPageNode(*mainForm_, PageNodeCount(*mainForm_) - 1, {"Датчик движения", page_id::kMotionSensor, 0});
    SelectPage(page_id::kMotionSensor);
    mainForm_->update(kPageTree, [](Control& tree) {
        tree.enabled = false;
        tree.visible = false;
    });
}

void Session::ShowPage(TformIncl& page)
{
    for (TformIncl* other : pages_)
        if (other != &page)
            other->Form().setVisible(other->Form().name(), false);
    page.Form().setVisible(page.Form().name(), true);
    device_.currentPage = &page;
}

void Session::SelectPage(int pageId)
{
    int index = FindPageNode(*mainForm_, pageId);
    if (index < 0)
        return;
    mainForm_->setIndex(kPageTree, index);
    OnTreeChanged();
}

void Session::OnTreeChanged()
{
    const int pageId = PageIdAt(*mainForm_, mainForm_->index(kPageTree));
    if (LinkExists() && !device_.AllPages()) {
        mainForm_->setEnabled("tbtnRead", true);
        mainForm_->setEnabled("tbtnWrite", true);
    }
    TformIncl* page = Page(pageId);
    if (!page)
        return;
    ShowPage(*page);
    if (pageId == page_id::kOnlineLog || pageId == page_id::kSignalTable) {
        mainForm_->setEnabled("tbtnRead", false);
        mainForm_->setEnabled("tbtnWrite", false);
    }
}

ConnectionChoice Session::ChoiceFromDialog() const
{
    ConnectionChoice choice;
    choice.portText = connectDialog_->text("ComPorts");
    choice.modem = connectDialog_->checked("rb2");
    choice.phone = connectDialog_->text("Phones");
    choice.masterKey = connectDialog_->text("meMasterKey");
    return choice;
}

void Session::BeginConnect(const ConnectionChoice& choice)
{
    StopLinkAndWait();
    LinkOptions options;
    options.portName = PortNameOf(choice.portText);
    options.rtsPower = choice.modem ? rtsPower_ : true;
    options.toneDial = true;
    options.phone = choice.modem ? choice.phone : std::string();
    mainForm_->update(kStatusBar, [&](Control& bar) {
        bar.items[0] = choice.portText;
        bar.items[1] = options.phone;
    });
    splash_->setText("Panel2", "");
    device_.SetMasterKeyText(choice.masterKey);
    device_.onlineLogConnected = false;
    link_ = std::make_unique<TModem>(options, &device_, &queue_, LinkWindows{mainForm_.get(), splash_.get()},
                                     clock_);
    link_->SetEventSink([this](const std::string& event) { device_.DecodeEvent(event); });
    device_.SetLink(link_.get());
    link_->Start();
}

void Session::SetCommandsForConnection(bool connected)
{
    for (const char* name : {"mnuDisconnect", "tbtnDisconnect", "tbtnRead", "tbtnWrite", "tbtnDefault",
                             "tbtnDefaultAll", "mnuRead", "mnuWrite", "mnuReadAll", "mnuWriteAll", "N1", "N2"})
        mainForm_->setEnabled(name, connected);
    const bool allPages = connected && device_.publishedType != 5;
    mainForm_->setEnabled("tbtnReadAll", allPages);
    mainForm_->setEnabled("tbtnWriteAll", allPages);
    mainForm_->setEnabled("mnuConnect", !connected);
    mainForm_->setEnabled("tbtnConnect", !connected);
    for (const PageControl& c : kLinkPageControls)
        if (FormModel* form = device_.Pages().Form(c.pageId); form && form->has(c.name))
            form->setEnabled(c.name, connected);
    for (auto [pageId, count] : {std::pair{page_id::kKeyfobs, 16}, std::pair{page_id::kRadioSensors, 32}})
        if (FormModel* form = device_.Pages().Form(pageId))
            for (int i = 1; i <= count; ++i)
                if (form->has("btnAdd" + std::to_string(i)))
                    form->setEnabled("btnAdd" + std::to_string(i), connected);
}

void Session::ConnectionEstablished()
{
    SetCommandsForConnection(true);
    if (FormModel* radio = device_.Pages().Form(page_id::kRadioSensors); radio && radio->has("TabSheet1"))
        radio->setVisible("TabSheet1", true);
    mainForm_->setEnabled("tbtnDisconnect", LinkExists());
    mainForm_->setEnabled("tbtnConnect", !LinkExists());
}

void Session::ConnectionCancelled()
{
    StopLinkAndWait();
    mainForm_->setEnabled("tbtnDisconnect", LinkExists());
    mainForm_->setEnabled("tbtnConnect", !LinkExists());
}

void Session::Disconnect()
{
    if (waitingForLink_)
        return;  // already disconnecting: the link's own click arrived meanwhile
    if (FormModel* table = device_.Pages().Form(page_id::kSignalTable); table && table->has("Button1")) {
        table->setEnabled("Button1", false);
        table->setText("Button1", "Включить  автоматическое обновление");
    }
    device_.historyPosition = -1;
    StopLinkAndWait();
    SetCommandsForConnection(false);
    if (FormModel* history = device_.Pages().Form(page_id::kHistory))
        for (const char* name : {"btnBackward", "Button2"})
            if (history->has(name))
                history->setEnabled(name, false);
    sensorPage_->WriteAbandoned();
    mainForm_->setEnabled("tbtnDisconnect", LinkExists());
    mainForm_->setEnabled("tbtnConnect", !LinkExists());
}

void Session::StopLinkAndWait()
{
    if (!link_ || waitingForLink_)
        return;
    waitingForLink_ = true;
    link_->Terminate();
    // The link may wait for room in the queue or for a step on this thread: keep serving both.
    while (!link_->Finished()) {
        Tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    link_->WaitFor();
    device_.SetLink(nullptr);
    link_.reset();
    Tick();
    waitingForLink_ = false;
}

void Session::SetJob(std::uint8_t code)
{
    if (link_)
        link_->SetJob(code);
}

void Session::ReadPageCommand()
{
    if (!link_)
        return;
    if (TformIncl* page = CurrentPage()) {
        if (page->EmptiedBeforeRead())
            nvx::ClearForRead(page->Form());
        page->PrepareRead();
    }
    SetJob(3);
}

void Session::WritePageCommand()
{
    if (!link_)
        return;
    if (TformIncl* page = CurrentPage())
        page->ClearMarks();
    SetJob(4);
}

void Session::ReadAllCommand()
{
    if (!link_)
        return;
    for (int id : {page_id::kGeneral, page_id::kCodes})
        if (TformIncl* page = Page(id))
            nvx::ClearForRead(page->Form());
    for (int id : {page_id::kCodes, page_id::kHistory, page_id::kSms, page_id::kChannels, page_id::kSystemEvents,
                   page_id::kEngineerNumbers})
        if (TformIncl* page = Page(id))
            page->PrepareRead();
    for (int id : {page_id::kRadioSettings, page_id::kKeyfobs, page_id::kRadioSensors, page_id::kPartitions,
                   page_id::kWiredLoops})
        if (TformIncl* page = Page(id))
            page->ClearForRead();
    SetJob(5);
}

void Session::WriteAllCommand()
{
    if (!link_)
        return;
    for (int id : {page_id::kGeneral, page_id::kCodes})
        if (TformIncl* page = Page(id))
            page->ClearMarks();
    SetJob(7);
}

void Session::StopCommand()
{
    device_.abortState = true;
}

void Session::DefaultsCommand()
{
    TformIncl* page = CurrentPage();
    if (page && page->HasDefaults())
        page->SetDefaults();
}

void Session::DefaultsAllCommand()
{
    for (int id : kDefaultsOrder)
        if (TformIncl* page = Page(id); page && page->HasDefaults())
            page->SetDefaults();
}

void Session::ToggleRelayNodes()
{
    int relays = FindPageNode(*mainForm_, page_id::kRelayList);
    if (relays >= 0) {
        DeletePageNode(*mainForm_, relays);
        return;
    }
    int codes = FindPageNode(*mainForm_, page_id::kCodes);
    if (codes < 0)
        codes = PageNodeCount(*mainForm_);
    for (int n = 5; n >= 1; --n)
        InsertPageNode(*mainForm_, codes, {"Радиореле " + std::to_string(n), page_id::kRelayList + n, 1});
    InsertPageNode(*mainForm_, codes, {"Радиореле", page_id::kRelayList, 0});
}

void Session::ToggleFilterMode()
{
    device_.filterMode = !device_.filterMode;
    queue_.PostLog(std::string("Режим фильтрации ") + (device_.filterMode ? "включен" : "отключен"));
}

void Session::LoadConnectionSettings(const IniFile& ini)
{
    FormModel& dialog = *connectDialog_;
    dialog.setChecked("rb1", ini.ReadBool("Connect", "rb1", true));
    dialog.setChecked("rb2", ini.ReadBool("Connect", "rb2", false));
    const std::string port = ini.ReadString("Connect", "ComPort", "");
    if (!port.empty())
        dialog.setText("ComPorts", port);
    std::vector<std::string> phones = ReadPhoneList(ini);
    dialog.update("Phones", [&](Control& c) {
        c.items.insert(c.items.end(), phones.begin(), phones.end());
        c.enabled = dialog.checked("rb2");
    });
    const std::string phone = ini.ReadString("Connect", "Phone", "");
    if (!phone.empty())
        dialog.setText("Phones", phone);
    dialog.setText("meMasterKey", ini.ReadString("Connect", "MasterKey", kFactoryMasterKey));
    for (int id : kLoadOrder)
        if (TformIncl* page = Page(id))
            page->LoadState(ini);
}

void Session::SaveConnectionSettings(IniFile& ini)
{
    const FormModel& dialog = *connectDialog_;
    ini.WriteBool("Connect", "rb1", dialog.checked("rb1"));
    ini.WriteBool("Connect", "rb2", dialog.checked("rb2"));
    ini.WriteString("Connect", "ComPort", dialog.text("ComPorts"));
    WritePhoneList(ini, dialog.get("Phones").items);
    ini.WriteString("Connect", "Phone", dialog.text("Phones"));
    ini.WriteString("Connect", "MasterKey", dialog.text("meMasterKey"));
    ini.WriteBool("Debug", "Memo", false);
    ini.WriteBool("Debug", "Log", false);
    for (int id : kSaveOrder)
        if (TformIncl* page = Page(id))
            page->SaveState(ini);
}

void Session::SwitchToSensorPage()
{
    device_.Publish();
    if (device_.deviceType != 3)
        return;
    if (int fire = FindPageNode(*mainForm_, page_id::kSmokeDetector); fire >= 0)
        DeletePageNode(*mainForm_, fire);
    if (FindPageNode(*mainForm_, page_id::kMotionSensor) < 0)
        InsertPageNode(*mainForm_, PageNodeCount(*mainForm_) - 1,
                       {"Датчик движения", page_id::kMotionSensor, 0});
    sensorPage_->ReadFromDevice(device_);
    queue_.PostText({mainForm_.get(), kPageTree}, "*" + std::to_string(page_id::kMotionSensor));
    mainForm_->update(kPageTree, [](Control& tree) {
        tree.enabled = false;
        tree.visible = false;
    });
    mainForm_->setVisible("tbtnReadAll", false);
    mainForm_->setVisible("tbtnWriteAll", false);
}

}  // namespace nvx
