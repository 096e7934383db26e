#include "core/FormModel.h"

#include <stdexcept>

namespace nvx {

FormModel::FormModel(std::string name) : name_(std::move(name)) {}

Control& FormModel::add(const std::string& controlName, ControlKind kind, const std::string& text,
                        const std::string& hint)
{
    std::lock_guard lock(mutex_);
    auto [it, inserted] = controls_.try_emplace(controlName);
    if (inserted)
        order_.push_back(controlName);
    Control& c = it->second;
    c.name = controlName;
    c.kind = kind;
    c.text = text;
    c.hint = hint;
    return c;
}

bool FormModel::has(const std::string& controlName) const
{
    std::lock_guard lock(mutex_);
    return controls_.count(controlName) != 0;
}

std::vector<std::string> FormModel::names() const
{
    std::lock_guard lock(mutex_);
    return order_;
}

Control& FormModel::at(const std::string& controlName)
{
    auto it = controls_.find(controlName);
    if (it == controls_.end())
        throw std::out_of_range("no control " + controlName + " on " + name_);
    return it->second;
}

const Control& FormModel::at(const std::string& controlName) const
{
    return const_cast<FormModel*>(this)->at(controlName);
}

Control FormModel::get(const std::string& controlName) const
{
    std::lock_guard lock(mutex_);
    return at(controlName);
}

std::string FormModel::text(const std::string& controlName) const
{
    std::lock_guard lock(mutex_);
    return at(controlName).text;
}

bool FormModel::checked(const std::string& controlName) const
{
    std::lock_guard lock(mutex_);
    return at(controlName).checked;
}

bool FormModel::enabled(const std::string& controlName) const
{
    std::lock_guard lock(mutex_);
    return at(controlName).enabled;
}

bool FormModel::visible(const std::string& controlName) const
{
    std::lock_guard lock(mutex_);
    return at(controlName).visible;
}

int FormModel::index(const std::string& controlName) const
{
    std::lock_guard lock(mutex_);
    return at(controlName).index;
}

void FormModel::update(const std::string& controlName, const std::function<void(Control&)>& change)
{
    {
        std::lock_guard lock(mutex_);
        change(at(controlName));
    }
    notify(controlName);
}

void FormModel::setText(const std::string& controlName, const std::string& text)
{
    update(controlName, [&](Control& c) { c.text = text; });
}

void FormModel::setChecked(const std::string& controlName, bool checked)
{
    update(controlName, [&](Control& c) { c.checked = checked; });
}

void FormModel::setEnabled(const std::string& controlName, bool enabled)
{
    update(controlName, [&](Control& c) { c.enabled = enabled; });
}

void FormModel::setVisible(const std::string& controlName, bool visible)
{
    update(controlName, [&](Control& c) { c.visible = visible; });
}

void FormModel::setIndex(const std::string& controlName, int index)
{
    update(controlName, [&](Control& c) { c.index = index; });
}

void FormModel::setColor(const std::string& controlName, const std::string& colour)
{
    update(controlName, [&](Control& c) { c.color = colour; });
}

void FormModel::setFontColor(const std::string& controlName, const std::string& colour)
{
    update(controlName, [&](Control& c) { c.fontColor = colour; });
}

void FormModel::checkRadio(const std::string& controlName)
{
    std::vector<std::string> changed;
    {
        std::lock_guard lock(mutex_);
        Control& target = at(controlName);
        target.checked = true;
        changed.push_back(controlName);
        if (!target.group.empty()) {
            for (auto& [n, c] : controls_) {
                if (n != controlName && c.group == target.group && c.checked) {
                    c.checked = false;
                    changed.push_back(n);
                }
            }
        }
    }
    for (const auto& n : changed)
        notify(n);
}

void FormModel::setAction(const std::string& controlName, Action action)
{
    std::lock_guard lock(mutex_);
    actions_[controlName] = std::move(action);
}

void FormModel::trigger(const std::string& controlName)
{
    Action action;
    {
        std::lock_guard lock(mutex_);
        auto it = actions_.find(controlName);
        if (it != actions_.end())
            action = it->second;
    }
    if (action)
        action();
}

int FormModel::subscribe(Observer observer)
{
    std::lock_guard lock(mutex_);
    observers_[nextObserver_] = std::move(observer);
    return nextObserver_++;
}

void FormModel::unsubscribe(int id)
{
    std::lock_guard lock(mutex_);
    observers_.erase(id);
}

void FormModel::notify(const std::string& controlName)
{
    std::vector<Observer> observers;
    {
        std::lock_guard lock(mutex_);
        for (auto& [id, o] : observers_)
            observers.push_back(o);
    }
    for (auto& o : observers)
        o(controlName);
}

}  // namespace nvx
