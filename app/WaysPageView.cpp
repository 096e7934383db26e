#include "app/WaysPageView.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

#include "app/KeyFilterValidator.h"
#include "app/ModelBinder.h"
#include "app/OnInterfaceThread.h"
#include "app/PageWidgets.h"
#include "core/InputController.h"

namespace nvx {

namespace {

constexpr int kPhoneWidth = 230;
constexpr int kTypeWidth = 320;
constexpr int kSideColumnWidth = 430;

// A small badge per type, so the lists can be told apart at a glance.
QIcon TypePicture(int type)
{
    struct Badge {
        QColor colour;
        const char* text;
    };
    static const Badge badges[] = {
        {QColor(160, 160, 160), "–"}, {QColor(46, 125, 50), "ID"}, {QColor(230, 126, 34), "S"},
        {QColor(21, 101, 192), "1"},  {QColor(21, 101, 192), "2"},
    };
    const Badge& badge = badges[type];
    QPixmap pixmap(QSize(18, 18) * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(badge.colour);
    painter.drawRoundedRect(QRectF(1, 1, 16, 16), 4, 4);
    QFont font = painter.font();
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(1, 1, 16, 16), Qt::AlignCenter, QString::fromUtf8(badge.text));
    return QIcon(pixmap);
}

QLabel* WrappingLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

QColor WaysPageView::directionColour(int direction)
{
    static const QColor colours[] = {
        QColor(255, 255, 255), QColor(225, 240, 255), QColor(226, 246, 226), QColor(255, 243, 214),
        QColor(245, 228, 250), QColor(255, 228, 228), QColor(222, 246, 246), QColor(240, 240, 220),
    };
    return colours[static_cast<std::size_t>(direction) % std::size(colours)];
}

WaysPageView::WaysPageView(TformWays& page, QWidget* parent) : QWidget(parent), page_(page)
{
    binder_ = new ModelBinder(page_.Form(), this);

    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(12);
    columns->addWidget(buildChannels(), 0, Qt::AlignTop);

    auto* side = new QWidget(content);
    side->setMaximumWidth(kSideColumnWidth);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->setSpacing(8);
    for (const char* note : {"lbChannelNote", "lbDirectionNote", "lbLinkNote"}) {
        QLabel* label = WrappingLabel(side);
        binder_->bind(note, label);
        sideLayout->addWidget(label);
    }
    sideLayout->addWidget(buildTransition());
    auto* gprs = new QCheckBox(side);
    binder_->bind("CheckBox1", gprs);
    sideLayout->addWidget(gprs);
    auto* gprsMark = new QLabel(side);
    binder_->bind("Label6", gprsMark);
    sideLayout->addWidget(gprsMark);
    sideLayout->addStretch(1);
    columns->addWidget(side, 1, Qt::AlignTop);
    columns->addStretch(0);

    PlaceInScrollArea(this, content);

    subscription_ = page_.Form().subscribe(

        OnInterfaceThread(this, [this](const std::string& name) { refresh(name); }));
    for (int n = 1; n <= TformWays::kChannels; ++n)
        showTypePictures(n);
    paintDirections();
}

WaysPageView::~WaysPageView()
{
    page_.Form().unsubscribe(subscription_);
}

QWidget* WaysPageView::buildChannels()
{
    auto* group = new QGroupBox;
    binder_->bind("gbChannels", group);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Номер телефона"), group), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Тип передачи"), group), 0, 2);

    for (int n = 1; n <= TformWays::kChannels; ++n) {
        const int row = 2 * n - 1;
        auto* name = new QLabel(group);
        binder_->bind(TformWays::LabelName(n), name);
        grid->addWidget(name, row, 0);

        auto* phone = new QLineEdit(group);
        phone->setFixedWidth(kPhoneWidth);
        phone->setValidator(new KeyFilterValidator(&TInputController::DialString, phone));
        binder_->bind(TformWays::PhoneName(n), phone);
        name->setBuddy(phone);
        grid->addWidget(phone, row, 1);
        phones_[static_cast<std::size_t>(n - 1)] = phone;

        auto* type = new QComboBox(group);
        type->setMinimumWidth(kTypeWidth);
        binder_->bind(TformWays::TypeName(n), type);
        // A choice by the user (not one the queue or the page makes) compacts the channels.
        const std::string typeName = TformWays::TypeName(n);
        connect(type, &QComboBox::activated, this, [this, typeName] { page_.Form().trigger(typeName); });
        grid->addWidget(type, row, 2);
        types_[static_cast<std::size_t>(n - 1)] = type;

        if (n == TformWays::kChannels)
            break;
        auto* link = new QWidget(group);
        auto* linkLayout = new QHBoxLayout(link);
        linkLayout->setContentsMargins(24, 0, 0, 0);
        auto* links = new QButtonGroup(link);
        for (const std::string& choice : {TformWays::AndName(n), TformWays::OrName(n)}) {
            auto* button = new QRadioButton(link);
            binder_->bind(choice, button);
            links->addButton(button);
            linkLayout->addWidget(button);
        }
        linkLayout->addStretch(1);
        grid->addWidget(link, row + 1, 1, 1, 2);
    }
    return group;
}

QWidget* WaysPageView::buildTransition()
{
    auto* group = new QGroupBox;
    binder_->bind("gbTransition", group);
    auto* grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    auto* choices = new QButtonGroup(group);
    int row = 0;
    for (auto [radioName, labelName] : {std::pair{"rdo1", "ldo1"}, std::pair{"rdo2", "ldo2"}}) {
        auto* radio = new QRadioButton(group);
        binder_->bind(radioName, radio);
        choices->addButton(radio);
        QLabel* label = WrappingLabel(group);
        binder_->bind(labelName, label);
        clickThrough(label, radio);
        grid->addWidget(radio, row, 0, Qt::AlignTop);
        grid->addWidget(label, row, 1);
        ++row;
    }
    return group;
}

void WaysPageView::clickThrough(QWidget* label, QAbstractButton* button)
{
    clickThrough_[label] = button;
    label->installEventFilter(this);
    label->setCursor(Qt::PointingHandCursor);
}

bool WaysPageView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        if (auto it = clickThrough_.find(watched); it != clickThrough_.end() && it->second->isEnabled())
            it->second->click();
    return QWidget::eventFilter(watched, event);
}

void WaysPageView::showEvent(QShowEvent* event)
{
    page_.Compact();
    QWidget::showEvent(event);
}

void WaysPageView::refresh(const std::string& name)
{
    if (name.starts_with("rb"))
        paintDirections();
    for (int n = 1; n <= TformWays::kChannels; ++n)
        if (name == TformWays::TypeName(n))
            showTypePictures(n);
}

void WaysPageView::paintDirections()
{
    for (int n = 1; n <= TformWays::kChannels; ++n) {
        QLineEdit* phone = phones_[static_cast<std::size_t>(n - 1)];
        QPalette palette = phone->palette();
        palette.setColor(QPalette::Base, directionColour(page_.DirectionOf(n)));
        phone->setPalette(palette);
    }
}

// The model's refill of a list drops the pictures; they are put back after it.
void WaysPageView::showTypePictures(int channel)
{
    QComboBox* type = types_[static_cast<std::size_t>(channel - 1)];
    for (int item = 0; item < type->count(); ++item)
        type->setItemIcon(item, TypePicture(item));
}

} // namespace nvx
