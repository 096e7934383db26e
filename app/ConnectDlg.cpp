#include "app/ConnectDlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ModelBinder.h"
#include "core/InputController.h"
#include "shell/ConnectDialogRules.h"
#include "shell/Session.h"

namespace nvx {

namespace {

constexpr int kProgressHeight = 6;

QComboBox* EditableCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    // The typed text is the choice itself; it must not turn into a list item.
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

// Keys that delete, move focus or close the dialog are no typing and pass the key filter.
bool PassesKeyFilter(int key)
{
    return key == Qt::Key_Delete || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
           key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

} // namespace

TdlgConnect::TdlgConnect(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), binder_(new ModelBinder(session.ConnectDialog(), this))
{
    FormModel& model = session_.ConnectDialog();
    setWindowTitle(QString::fromStdString(model.text("dlgConnect")));

    auto* portLabel = new QLabel(this);
    auto* ports = EditableCombo(this);
    ports->setMinimumContentsLength(28);
    auto* refresh = new QToolButton(this);
    refresh->setIcon(QIcon::fromTheme("view-refresh", style()->standardIcon(QStyle::SP_BrowserReload)));
    auto* search = new QPushButton(this);
    auto* kindLabel = new QLabel(this);
    auto* cable = new QRadioButton(this);
    auto* modem = new QRadioButton(this);
    auto* phoneLabel = new QLabel(this);
    auto* phones = EditableCombo(this);
    auto* keyLabel = new QLabel(this);
    auto* masterKey = new QLineEdit(this);
    masterKey_ = masterKey;
    okButton_ = new QPushButton(this);
    okButton_->setDefault(true);
    auto* cancel = new QPushButton(this);
    auto* progress = new QProgressBar(this);
    progress->setTextVisible(false);
    progress->setFixedHeight(kProgressHeight);

    auto* grid = new QGridLayout;
    grid->addWidget(portLabel, 0, 0);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(ports, 1);
    portRow->addWidget(refresh);
    grid->addLayout(portRow, 0, 1);
    grid->addWidget(search, 1, 0, 1, 2);
    grid->addWidget(kindLabel, 2, 0, 1, 2);
    grid->addWidget(cable, 3, 0, 1, 2);
    grid->addWidget(modem, 4, 0, 1, 2);
    grid->addWidget(phoneLabel, 5, 0);
    grid->addWidget(phones, 5, 1);
    grid->addWidget(keyLabel, 6, 0);
    grid->addWidget(masterKey, 6, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancel);

    auto* content = new QVBoxLayout;
    content->addLayout(grid);
    content->addSpacing(style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing) * 2);
    content->addStretch(1);
    content->addLayout(buttons);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* padded = new QWidget(this);
    padded->setLayout(content);
    outer->addWidget(padded, 1);
    outer->addWidget(progress);

    const std::pair<const char*, QWidget*> bound[] = {
        {"Label1", portLabel},    {"ComPorts", ports},        {"SpeedButton2", refresh},
        {"SpeedButton1", search}, {"Label3", kindLabel},      {"rb1", cable},
        {"rb2", modem},           {"Label2", phoneLabel},     {"Phones", phones},
        {"lbKey", keyLabel},      {"meMasterKey", masterKey}, {"OKBtn", okButton_},
        {"CancelBtn", cancel},    {"ProgressBar1", progress},
    };
    for (const auto& [name, widget] : bound)
        binder_->bind(name, widget);

    connect(refresh, &QToolButton::clicked, this, [this] { refreshPorts(); });
    connect(search, &QPushButton::clicked, this, [this] { searchPorts(); });
    for (QRadioButton* choice : {cable, modem})
        connect(choice, &QRadioButton::clicked, this, [this] { ApplyLinkChoice(session_.ConnectDialog()); });
    connect(okButton_, &QPushButton::clicked, this, [this] { acceptChoice(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    masterKey->installEventFilter(this);

    refreshPorts();
}

void TdlgConnect::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        refreshPorts();
    QDialog::showEvent(event);
}

bool TdlgConnect::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == masterKey_) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!PassesKeyFilter(key->key()))
                for (char32_t c : key->text().toUcs4())
                    if (TInputController::Hexadecimal(c) == 0)
                        return true;
        } else if (event->type() == QEvent::FocusOut) {
            LeaveMasterKey(session_.ConnectDialog());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TdlgConnect::refreshPorts()
{
    RefreshPortList(session_.ConnectDialog(), PortItems(ListSerialPorts()));
}

void TdlgConnect::searchPorts()
{
    FormModel& model = session_.ConnectDialog();
    std::vector<std::string> ports;
    for (const SerialPort& port : FindSerialPorts())
        ports.push_back(port.name);
    // The window keeps painting and the log keeps filling between ports, but takes no input: a
    // second search or a closed dialog in the middle of this one would pull the ports away from it.
    const SearchOutcome outcome =
        SearchFromDialog(model, SessionProbe(session_, model.checked("rb2")), ports,
                         [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    if (outcome.pressOk)
        okButton_->click();
    else
        QMessageBox::warning(this, QString::fromUtf8(kDeviceNotFoundCaption),
                             QString::fromStdString(outcome.warning));
}

void TdlgConnect::acceptChoice()
{
    FormModel& model = session_.ConnectDialog();
    // Closing with Enter leaves the key field without a focus change; the connection needs a key.
    LeaveMasterKey(model);
    RememberDialledPhone(model);
    accept();
}

} // namespace nvx
