#include "Sensor.h"

#include "CommandSyntax.h"

namespace devsim {

namespace {

// Hexadecimal digits each parameter holds on the wire.
std::size_t WidthOf(const std::string& parameter)
{
    if (parameter == "A" || parameter == "V" || parameter == "P")
        return 2;
    if (parameter == "C")
        return 4;
    return 0;
}

} // namespace

Sensor::Sensor(std::string version, bool petImmune) : version_(std::move(version))
{
    if (petImmune)
        parameters_ = {{"A", "11"}, {"V", "14"}, {"C", "061E"}, {"P", "03"}};
    else
        parameters_ = {{"A", "06"}, {"V", "07"}, {"C", "0614"}, {"P", "03"}};
}

Reply Sensor::handle(const std::string& line, TimePoint)
{
    const auto command = ParseCommand(line);
    if (!command)
        return Reply::err();
    if (!command->value) {
        if (command->name == "v")
            return Reply::withValue(version_);
        if (command->name == "pAVCP")
            return Reply::withValue(parameters_.at("A") + parameters_.at("V") + parameters_.at("C") +
                                    parameters_.at("P"));
        return Reply::err();
    }
    // Writes are "+pA=", "+pV=", "+pC=" and "+pP=".
    if (command->name.size() != 2 || command->name[0] != 'p')
        return Reply::err();
    return set(command->name.substr(1), *command->value) ? Reply::ok() : Reply::err();
}

bool Sensor::set(const std::string& name, const std::string& value)
{
    const std::size_t width = WidthOf(name);
    if (width == 0 || !IsHexOfWidth(value, width))
        return false;
    parameters_[name] = value;
    return true;
}

} // namespace devsim
