#include "app/ModelBinder.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QThread>
#include <QToolButton>

#include "app/QtText.h"

namespace nvx {

namespace {

// A mark behind a field's text must leave the text readable: a pale tint of the mark's colour.
QColor PaleTint(const QColor& colour)
{
    constexpr double kWhiteShare = 0.8;
    auto towardWhite = [](int part) { return part + static_cast<int>((255 - part) * kWhiteShare); };
    return QColor(towardWhite(colour.red()), towardWhite(colour.green()), towardWhite(colour.blue()));
}

}  // namespace

ModelBinder::ModelBinder(FormModel& model, QObject* parent) : QObject(parent), model_(model)
{
    subscription_ = model_.subscribe([this](const std::string& name) {
        if (QThread::currentThread() == thread())
            refresh(name);
        else
            QMetaObject::invokeMethod(this, [this, name] { refresh(name); }, Qt::QueuedConnection);
    });
}

ModelBinder::~ModelBinder()
{
    model_.unsubscribe(subscription_);
}

QColor ModelBinder::colourOf(const std::string& name, bool background)
{
    if (name == "clRed")
        return QColor(200, 0, 0);
    if (name == "clBlue")
        return QColor(0, 0, 200);
    if (name == "clGreen")
        return QColor(0, 128, 0);
    if (name == "clWindow" || name.empty())
        return background ? QColor() : QColor();
    return QColor();  // clWindowText and the rest: the palette's own colour
}

void ModelBinder::bind(const std::string& name, QWidget* widget)
{
    widgets_[name] = widget;
    widget->setObjectName(Q(name));
    connectEdits(name, widget);
    refresh(name);
}

void ModelBinder::bindAction(const std::string& name, QAction* action)
{
    actions_[name] = action;
    action->setObjectName(Q(name));
    connect(action, &QAction::triggered, this, [this, name] { model_.trigger(name); });
    refresh(name);
}

void ModelBinder::refreshAll()
{
    for (auto& [name, widget] : widgets_)
        refresh(name);
    for (auto& [name, action] : actions_)
        refresh(name);
}

void ModelBinder::connectEdits(const std::string& name, QWidget* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textEdited, this,
                [this, name](const QString& text) { model_.setText(name, text.toStdString()); });
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        connect(spin, qOverload<int>(&QSpinBox::valueChanged), this, [this, name](int value) {
            if (!applying_)
                model_.update(name, [&](Control& c) {
                    c.value = value;
                    c.text = std::to_string(value);
                });
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), this, [this, name, combo](int index) {
            if (!applying_)
                model_.update(name, [&](Control& c) {
                    c.index = index;
                    c.text = combo->currentText().toStdString();
                });
        });
        connect(combo, &QComboBox::editTextChanged, this, [this, name](const QString& text) {
            if (!applying_)
                model_.setText(name, text.toStdString());
        });
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        connect(radio, &QRadioButton::clicked, this, [this, name] {
            model_.checkRadio(name);
            model_.trigger(name);
        });
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        connect(check, &QCheckBox::clicked, this, [this, name](bool on) {
            model_.setChecked(name, on);
            model_.trigger(name);
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, name] { model_.trigger(name); });
    }
}

void ModelBinder::refresh(const std::string& name)
{
    // Only bound controls are copied: a page's grid may be large and change row by row.
    if ((!widgets_.count(name) && !actions_.count(name)) || !model_.has(name))
        return;
    const Control c = model_.get(name);
    if (auto it = actions_.find(name); it != actions_.end() && it->second) {
        it->second->setEnabled(c.enabled);
        it->second->setVisible(c.visible);
    }
    auto it = widgets_.find(name);
    if (it == widgets_.end() || !it->second)
        return;
    // Showing a widget can refresh another one on the way; the outer refresh must stay guarded.
    const bool outerApplying = applying_;
    applying_ = true;
    QWidget* w = it->second;
    w->setEnabled(c.enabled);
    // A window is shown by its owner (exec, show), never as a side effect of its model.
    if (!w->isWindow())
        w->setVisible(c.visible);
    QColor text = colourOf(c.fontColor, false);
    QColor back = colourOf(c.color, true);
    QString style;
    if (text.isValid())
        style += QString("color: %1;").arg(text.name());
    if (back.isValid())
        style += QString("background-color: %1;").arg(PaleTint(back).name());
    if (c.bold)
        style += "font-weight: bold;";

    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(Q(c.text));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(Q(c.text));
        style.clear();
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != Q(c.text))
            edit->setText(Q(c.text));
        if (c.maxLength > 0)
            edit->setMaxLength(c.maxLength);
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        spin->setValue(c.value);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStringList items;
        for (const auto& item : c.items)
            items << Q(item);
        QStringList present;
        for (int i = 0; i < combo->count(); ++i)
            present << combo->itemText(i);
        if (present != items) {
            combo->clear();
            combo->addItems(items);
        }
        // Refilling selects the first item by itself; the model may have none selected.
        combo->setCurrentIndex(c.index >= 0 && c.index < combo->count() ? c.index : -1);
        if (combo->isEditable() && combo->currentText() != Q(c.text))
            combo->setEditText(Q(c.text));
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        radio->setText(Q(c.text));
        radio->setChecked(c.checked);
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        check->setText(Q(c.text));
        check->setChecked(c.checked);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (!c.text.empty())
            button->setText(Q(c.text));
        if (!c.hint.empty())
            button->setToolTip(Q(c.hint));
        style.clear();
    } else if (auto* progress = qobject_cast<QProgressBar*>(w)) {
        progress->setRange(c.minimum, c.maximum);
        progress->setValue(c.value);
        style.clear();
    }
    if (!style.isEmpty() || !w->styleSheet().isEmpty())
        w->setStyleSheet(style);
    applying_ = outerApplying;
}

}  // namespace nvx
