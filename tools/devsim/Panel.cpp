#include "Panel.h"

#include "CommandSyntax.h"
#include "PanelDefaults.h"
#include "PanelLoops.h"
#include "PanelPartitions.h"

#include <algorithm>
#include <cctype>

namespace devsim {

namespace {

bool IsFourDigits(const std::string& text)
{
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

} // namespace

Panel::Panel(PanelConfig config)
    : config_(std::move(config)), store_(PanelDefaults()), radio_(config_.radio)
{
    for (const auto& [name, value] : config_.overrides)
        store_[name] = value;
    if (config_.history)
        history_.emplace(*config_.history);
}

Reply Panel::handle(const std::string& line, TimePoint now)
{
    const auto command = ParseCommand(line);
    if (!command)
        return Reply::err();
    if (command->name == "v")
        return command->value ? Reply::err() : Reply::withValue(config_.version);
    if (command->name == "id")
        return command->value ? authorise(*command->value, now) : Reply::err();
    if (!authorised_)
        return Reply::err();
    if (auto outcome = general_.handle(*command, config_.masterKey)) {
        if (outcome->restarts)
            authorised_ = false;
        return outcome->reply;
    }
    if (history_)
        if (auto reply = history_->handle(*command))
            return *reply;
    if (auto reply = radio_.handle(*command, store_))
        return *reply;
    if (auto reply = HandlePartitionWrite(*command, store_))
        return *reply;
    if (auto reply = HandleLoopWrite(*command, store_))
        return *reply;
    if (command->value)
        return set(command->name, *command->value) ? Reply::ok() : Reply::err();
    const auto stored = store_.find(command->name);
    return stored == store_.end() ? Reply::err() : Reply::withValue(stored->second);
}

Reply Panel::authorise(const std::string& key, TimePoint now)
{
    if (now < ignoreUntil_)
        return Reply::ign();
    if (IsFourDigits(key) && key == config_.masterKey) {
        authorised_ = true;
        wrongKeysInRow_ = 0;
        return Reply::ok();
    }
    authorised_ = false;
    if (++wrongKeysInRow_ >= kWrongKeysBeforeIgnore) {
        wrongKeysInRow_ = 0;
        ignoreUntil_ = now + config_.ignoreFor;
    }
    return Reply::err();
}

bool Panel::control(const std::string& verb, const std::string& argument)
{
    if (radio_.control(verb, argument))
        return true;
    if (!verb.starts_with("history"))
        return false;
    if (!history_) {
        if (verb != "history")
            return false;
        history_.emplace(PanelHistoryConfig{});
    }
    return history_->control(verb, argument);
}

std::map<std::string, std::string> Panel::state() const
{
    std::map<std::string, std::string> state = store_;
    if (history_)
        state["history"] = std::to_string(history_->records());
    return state;
}

bool Panel::set(const std::string& name, const std::string& value)
{
    // The version and the key are answered by the panel itself, not kept in the store.
    if (name.empty() || name == "v" || name == "id" || name.find('=') != std::string::npos)
        return false;
    store_[name] = value;
    return true;
}

} // namespace devsim
