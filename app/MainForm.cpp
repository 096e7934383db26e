#include "app/MainForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScopeGuard>
#include <QShortcut>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <numeric>
#include <string_view>

#include "app/AboutDlg.h"
#include "app/CommandIcons.h"
#include "app/ConnectDlg.h"
#include "app/MessageDlgView.h"
#include "app/ModelBinder.h"
#include "app/PageTreeView.h"
#include "app/PageViews.h"
#include "app/QtText.h"
#include "app/SplashDlg.h"
#include "core/Codec.h"
#include "core/OutArray.h"
#include "core/SettingsLocation.h"
#include "device/PageDirectory.h"
#include "pages/f_Razd.h"
#include "pages/f_common.h"
#include "shell/Session.h"
#include "shell/WindowModels.h"

namespace nvx {

namespace {

constexpr const char* kProgramName = "nvx-config";
constexpr const char* kWindowsFile = "windows.ini";
constexpr const char* kFirmwareFromFileKey = "zobqex";
constexpr int kQueueIntervalMs = 100;
constexpr int kStatusPanelWidths[] = {55, 100, 140, 90, 140, 200};
constexpr int kDefaultLogHeight = 170;

// Gives a pane of a two-pane splitter its size and the other pane the rest.
void SetPaneSize(QSplitter& splitter, int pane, int size)
{
    QList<int> sizes = splitter.sizes();
    if (sizes.size() != 2)
        return;
    const int total = std::max(sizes[0] + sizes[1], size);
    sizes[pane] = std::max(size, 0);
    sizes[1 - pane] = total - sizes[pane];
    splitter.setSizes(sizes);
}

}  // namespace

QString TForm1::Caption()
{
    return QStringLiteral("Настройка \"Датчик движения с защитой от животных\" v %1")
        .arg(QStringLiteral(NVX_VERSION));
}

TForm1::TForm1(Session& session, QWidget* parent)
    : QMainWindow(parent), session_(session), form_(session.MainForm()),
      settingsFolder_(SettingsFolder(QCoreApplication::applicationDirPath().toStdString(), kProgramName)),
      settings_(settingsFolder_ / kCurrentSettingsFile)
{
    setObjectName(Q(form_.name()));
    setWindowTitle(Caption());
    resize(900, 720);  // until windows.ini says otherwise

    const IniFile::Result loaded = settings_.Load();
    session_.SetRtsPower(settings_.ReadBool("Connect", "RTS", true));

    binder_ = new ModelBinder(form_, this);
    buildCommands();
    buildCentralArea();
    buildStatusBar();

    session_.SetLogSink([this](const std::string& line) { appendLog(line); });
    session_.SetMessageSink([this](const std::string& text) { showMessage(text); });
    // The link waits for steps it hands to this thread (the sensor switch); run them at once
    // rather than at the next tick of the queue.
    session_.Device().Calls().SetWakeUp([this] {
        QMetaObject::invokeMethod(
            this, [this] { session_.Device().Calls().RunPending(); }, Qt::QueuedConnection);
    });
    if (!loaded)
        appendLog(LogTimeStamp() + loaded.error);

    if (settings_.ReadString("Update", "UpdatePanelVersion", "") == kFirmwareFromFileKey) {
        form_.setVisible("mnuUpdate", true);
        form_.setVisible("ProgressBar1", true);
    }
    if (auto* general = dynamic_cast<TformCommon*>(session_.Page(page_id::kGeneral)))
        general->ApplyProgramSwitches(settings_);
    if (auto* partitions = dynamic_cast<TformRazd*>(session_.Page(page_id::kPartitions)))
        partitions->ApplyProgramSwitches(settings_);
    session_.MessageDialog().ApplyProgramSwitches(settings_);
    WindowGeometry(settingsFolder_ / kWindowsFile, form_.name()).Load(*this, keptSizes());

    splash_ = new TdlgSplash(session_.Splash(), this);
    buildPageViews();
    connectDialog_ = new TdlgConnect(session_, this);
    about_ = new TFormAbout(this);
    new MessageDlgView(session_.MessageDialog(), this);  // shown and hidden by its model

    session_.BuildTree();
    session_.LoadConnectionSettings(settings_);
    SetPaneSize(*upperSplitter_, 0, 0);  // the tree's pane is collapsed in this build

    connect(&queueTimer_, &QTimer::timeout, this, &TForm1::drainQueue);
    queueTimer_.start(kQueueIntervalMs);
}

TForm1::~TForm1()
{
    reportFailure(WindowGeometry(settingsFolder_ / kWindowsFile, form_.name()).Save(*this, keptSizes()));
    queueTimer_.stop();
    if (session_.LinkExists())
        session_.Disconnect();
    session_.Device().Calls().SetWakeUp({});
    saveSettings();

    // The session outlives this window: nothing of the window may be reached through it any more.
    session_.SetLogSink({});
    session_.SetMessageSink({});
    for (const std::string& name : commandNames_)
        form_.setAction(name, {});
    for (auto [form, id] : subscriptions_)
        form->unsubscribe(id);
}

void TForm1::setCommand(const std::string& controlName, std::function<void()> command)
{
    form_.setAction(controlName, std::move(command));
    commandNames_.push_back(controlName);
}

void TForm1::buildCommands()
{
    auto addMenu = [this](const char* name) {
        QMenu* menu = menuBar()->addMenu(Q(form_.text(name)));
        binder_->bindAction(name, menu->menuAction());
        return menu;
    };
    auto addItem = [this](QMenu* menu, const char* name, const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(Q(form_.text(name)));
        action->setShortcut(shortcut);
        binder_->bindAction(name, action);
    };
    QMenu* file = addMenu("mnuFile");
    addItem(file, "mnuSave", QKeySequence(Qt::CTRL | Qt::Key_S));
    addItem(file, "mnuLoad", QKeySequence(Qt::CTRL | Qt::Key_L));
    addItem(file, "mnuUpdate");
    file->addSeparator();
    addItem(file, "mnuExit", QKeySequence(Qt::Key_F2));

    QMenu* connection = addMenu("mnuConnections");
    addItem(connection, "mnuConnect", QKeySequence(Qt::CTRL | Qt::Key_C));
    addItem(connection, "mnuDisconnect", QKeySequence(Qt::CTRL | Qt::Key_D));
    connection->addSeparator();
    addItem(connection, "mnuRead", QKeySequence(Qt::CTRL | Qt::Key_R));
    addItem(connection, "mnuWrite", QKeySequence(Qt::CTRL | Qt::Key_W));
    addItem(connection, "mnuReadAll", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_R));
    addItem(connection, "mnuWriteAll", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_W));
    connection->addSeparator();
    addItem(connection, "N1");
    addItem(connection, "N2");

    addItem(addMenu("mnuProperties"), "N6");
    addItem(addMenu("N4"), "N5");
    addItem(addMenu("mnuHelp"), "mnuAbout", QKeySequence(Qt::Key_F1));

    // Shortcuts belong to the menu items: the same keys on the tool bar would make them ambiguous.
    toolBar_ = addToolBar(QStringLiteral("ToolBar1"));
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar_->setIconSize(QSize(24, 24));
    for (const char* name : {"tbtnConnect", "tbtnDisconnect", "tbtnRead", "tbtnWrite", "tbtnReadAll",
                             "tbtnWriteAll", "tbtnDefault", "tbtnDefaultAll", "tbtnCalcel"}) {
        const QString hint = Q(form_.get(name).hint);
        QAction* action = toolBar_->addAction(hint);
        action->setToolTip(hint);
        binder_->bindAction(name, action);
        if (std::string_view(name) == "tbtnConnect")
            action->setIcon(ConnectIcon());
        else if (std::string_view(name) == "tbtnDisconnect")
            action->setIcon(DisconnectIcon());
    }

    // A connect asked for while the queue is drained (a queued click) must not open its modal
    // windows inside the drain, which would stop the drain until they close.
    auto connectSoon = [this] { QTimer::singleShot(0, this, [this] { connectCommand(); }); };
    setCommand("tbtnConnect", connectSoon);
    setCommand("mnuConnect", connectSoon);
    setCommand("mnuDisconnect", [this] { session_.Disconnect(); });
    for (const char* name : {"tbtnRead", "mnuRead"})
        setCommand(name, [this] { session_.ReadPageCommand(); });
    for (const char* name : {"tbtnWrite", "mnuWrite"})
        setCommand(name, [this] { session_.WritePageCommand(); });
    for (const char* name : {"tbtnReadAll", "mnuReadAll"})
        setCommand(name, [this] { session_.ReadAllCommand(); });
    for (const char* name : {"tbtnWriteAll", "mnuWriteAll"})
        setCommand(name, [this] { session_.WriteAllCommand(); });
    for (const char* name : {"tbtnDefault", "N1"})
        setCommand(name, [this] { session_.DefaultsCommand(); });
    for (const char* name : {"tbtnDefaultAll", "N2"})
        setCommand(name, [this] { session_.DefaultsAllCommand(); });
    setCommand("tbtnCalcel", [this] { session_.StopCommand(); });
    setCommand("mnuSave", [this] { saveProfileCommand(); });
    setCommand("mnuLoad", [this] { loadProfileCommand(); });
    setCommand("mnuExit", [this] { close(); });
    setCommand("mnuAbout", [this] { about_->exec(); });

    // The window sees these keys before its controls do.
    auto addKey = [this](QKeySequence keys, std::function<void()> command) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::ApplicationShortcut);
        connect(shortcut, &QShortcut::activated, this, std::move(command));
    };
    addKey(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R), [this] { session_.ToggleRelayNodes(); });
    addKey(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D), [this] { session_.ToggleFilterMode(); });
}

void TForm1::buildCentralArea()
{
    auto* tree = new PageTreeView(form_, kPageTree);
    pages_ = new QStackedWidget;
    pages_->setObjectName(QStringLiteral("PageArea"));
    noPage_ = new QWidget;
    pages_->addWidget(noPage_);

    upperSplitter_ = new QSplitter(Qt::Horizontal);
    upperSplitter_->addWidget(tree);
    upperSplitter_->addWidget(pages_);
    upperSplitter_->setStretchFactor(1, 1);

    auto* logPanel = new QWidget;
    logPanel->setObjectName(QStringLiteral("pnlLog"));
    log_ = new QPlainTextEdit(logPanel);
    log_->setObjectName(QStringLiteral("Memo1"));
    log_->setReadOnly(true);
    auto* clear = new QPushButton(logPanel);
    auto* save = new QPushButton(logPanel);
    binder_->bind("RzBitBtn1", clear);
    binder_->bind("RzBitBtn2", save);
    setCommand("RzBitBtn1", [this] { log_->clear(); });
    setCommand("RzBitBtn2", [this] { saveLogCommand(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(clear);
    buttons->addWidget(save);
    auto* logLayout = new QVBoxLayout(logPanel);
    logLayout->setContentsMargins(4, 0, 4, 4);
    logLayout->addWidget(log_, 1);
    logLayout->addLayout(buttons);

    // Extra height goes to the page; the log keeps the height the user gave it.
    logSplitter_ = new QSplitter(Qt::Vertical);
    logSplitter_->addWidget(upperSplitter_);
    logSplitter_->addWidget(logPanel);
    logSplitter_->setStretchFactor(0, 1);
    logSplitter_->setStretchFactor(1, 0);
    logSplitter_->setCollapsible(0, false);
    logSplitter_->setCollapsible(1, false);
    logSplitter_->setSizes({height() - kDefaultLogHeight, kDefaultLogHeight});
    setCentralWidget(logSplitter_);
}

void TForm1::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    for (int width : kStatusPanelWidths) {
        auto* panel = new QLabel(bar);
        panel->setFixedWidth(width);
        panel->setFrameShape(QFrame::StyledPanel);
        bar->addWidget(panel);
        statusPanels_.push_back(panel);
    }
    // The firmware progress lies over the last panel, one pixel inside the bar.
    auto* progress = new QProgressBar(bar);
    const int panelsBefore = static_cast<int>(std::size(kStatusPanelWidths)) - 1;
    const int left = panelsBefore + std::accumulate(std::begin(kStatusPanelWidths),
                                                    std::prev(std::end(kStatusPanelWidths)), 0);
    progress->setGeometry(left, 1, kStatusPanelWidths[4] - 4, bar->sizeHint().height() - 1);
    binder_->bind(kStatusBar, bar);
    binder_->bind("ProgressBar1", progress);

    const int id = form_.subscribe([this](const std::string& name) {
        if (name != kStatusBar)
            return;
        if (QThread::currentThread() == thread())
            showStatusPanels();
        else
            QMetaObject::invokeMethod(this, [this] { showStatusPanels(); }, Qt::QueuedConnection);
    });
    subscriptions_.emplace_back(&form_, id);
    showStatusPanels();
}

void TForm1::showStatusPanels()
{
    const std::vector<std::string> texts = form_.get(kStatusBar).items;
    for (std::size_t i = 0; i < statusPanels_.size(); ++i)
        statusPanels_[i]->setText(i < texts.size() ? Q(texts[i]) : QString());
}

void TForm1::buildPageViews()
{
    for (TformIncl* page : session_.Pages()) {
        // A page without a view of its own shows an empty pane.
        QWidget* view = CreatePageView(*page, session_, pages_);
        if (view)
            pages_->addWidget(view);
        QWidget* shown = view ? view : noPage_;
        FormModel& form = page->Form();
        // The page on screen is the one whose form the shell made visible.
        auto follow = [this, &form, shown] {
            if (form.visible(form.name()))
                pages_->setCurrentWidget(shown);
        };
        const int id = form.subscribe([this, &form, follow](const std::string& name) {
            if (name != form.name())
                return;
            if (QThread::currentThread() == thread())
                follow();
            else
                QMetaObject::invokeMethod(this, follow, Qt::QueuedConnection);
        });
        subscriptions_.emplace_back(&form, id);
    }
}

std::vector<KeptSize> TForm1::keptSizes()
{
    // Qt lays tool bars out by itself; their width is kept for the file's other readers.
    return {
        {"ToolBar1.Width", [this] { return toolBar_->width(); }, {}},
        {"tv1.Width", [this] { return upperSplitter_->sizes().value(0); },
         [this](int width) { SetPaneSize(*upperSplitter_, 0, width); }},
        {"pnlLog.Height", [this] { return logSplitter_->sizes().value(1); },
         [this](int height) { SetPaneSize(*logSplitter_, 1, height); }},
    };
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    // After the window is on screen, not inside show(): the dialog is modal.
    QTimer::singleShot(0, this, [this] { connectCommand(); });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (form_.enabled("tbtnDisconnect"))
        session_.Disconnect();
    QMainWindow::closeEvent(event);
}

void TForm1::connectCommand()
{
    if (connecting_)
        return;
    connecting_ = true;
    const auto done = qScopeGuard([this] { connecting_ = false; });
    if (!connectDialogSkipped_ && connectDialog_->exec() != QDialog::Accepted)
        return;
    session_.BeginConnect(session_.ChoiceFromDialog());
    if (splash_->exec() == QDialog::Accepted) {
        session_.ConnectionEstablished();
        // Written now, not only at exit, so a crash later in the run keeps the choices.
        saveSettings();
    } else {
        session_.ConnectionCancelled();
    }
}

void TForm1::drainQueue()
{
    queueTimer_.stop();
    const auto restart = qScopeGuard([this] { queueTimer_.start(kQueueIntervalMs); });
    try {
        session_.Tick();
    } catch (const std::exception&) {
        // The drain drops a failing item by itself; whatever else fails, the next tick runs.
    }
}

void TForm1::appendLog(const std::string& line)
{
    // Answers end with their line break; the log starts the next line by itself.
    const std::size_t end = line.find_last_not_of("\r\n");
    log_->appendPlainText(Q(line.substr(0, end == std::string::npos ? 0 : end + 1)));
}

void TForm1::showMessage(const std::string& text)
{
    QMessageBox::information(this, Caption(), Q(text));
}

void TForm1::saveLogCommand()
{
    QFileDialog dialog(this, QStringLiteral("Сохранить"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Text Files (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();

    std::string bytes;
    if (!log_->document()->isEmpty())
        for (QTextBlock line = log_->document()->begin(); line.isValid(); line = line.next())
            bytes += ToCp1251(line.text().toStdString()) + "\r\n";
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                           static_cast<qint64>(bytes.size()) &&
                       file.commit();
    if (!saved)
        QMessageBox::warning(this, Caption(),
                             QStringLiteral("Не удалось сохранить журнал в файл «%1»: %2")
                                 .arg(path, file.errorString()));
}

void TForm1::saveProfileCommand()
{
    QFileDialog dialog(this, QStringLiteral("Сохранить"), Q(settingsFolder_.string()),
                       QStringLiteral("Файл настроек(*.ini)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    IniFile profile(dialog.selectedFiles().constFirst().toStdString());
    (void)profile.Load();  // its present content stays; an unreadable file is refused by Save
    session_.SaveConnectionSettings(profile);
    reportFailure(profile.Save());
}

void TForm1::loadProfileCommand()
{
    QFileDialog dialog(this, QStringLiteral("Загрузить"), Q(settingsFolder_.string()),
                       QStringLiteral("Файл настроек (*.ini);;Все файлы (*.*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    IniFile profile(dialog.selectedFiles().constFirst().toStdString());
    if (IniFile::Result loaded = profile.Load(); !loaded) {
        reportFailure(loaded);
        return;
    }
    session_.LoadConnectionSettings(profile);
}

void TForm1::saveSettings()
{
    settings_.WriteBool("Connect", "RTS", session_.RtsPower());
    session_.SaveConnectionSettings(settings_);
    reportFailure(settings_.Save());
}

void TForm1::reportFailure(const IniFile::Result& result)
{
    if (!result)
        QMessageBox::warning(this, Caption(), Q(result.error));
}

}  // namespace nvx
