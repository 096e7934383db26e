// The pet-immune motion sensor: answers its version and keeps the four detection parameters A, V, C, P
// that the program reads with "+pAVCP" and writes one by one. No authorisation. Emulator thread.
#pragma once

#include "Device.h"

#include <map>
#include <string>

namespace devsim {

class Sensor : public Device {
public:
    // `petImmune` chooses the parameter set the sensor starts with.
    Sensor(std::string version, bool petImmune);

    Reply handle(const std::string& line, TimePoint now) override;
    // Names are the parameter letters; a value of the wrong width or not hexadecimal is refused.
    bool set(const std::string& name, const std::string& value) override;
    std::map<std::string, std::string> state() const override { return parameters_; }

private:
    std::string version_;
    std::map<std::string, std::string> parameters_; // "A", "V", "C", "P"
};

} // namespace devsim
