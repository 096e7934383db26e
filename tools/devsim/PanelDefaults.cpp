#include "PanelDefaults.h"

namespace devsim {

const std::map<std::string, std::string>& PanelDefaults()
{
    static const std::map<std::string, std::string> defaults = {
        {"l", "0"},        // mode: 0 working, 1 enrolling sensors, 3 enrolling keyfobs
        {"vp", "000000"},  // processor and board: 5th character "1" = newer chip, 6th = hardware variant
        {"dk", "0"},       // board selector of the firmware images
        {"c1", "0A0"},     // converter reading of the wired loops, 3 hexadecimal digits
    };
    return defaults;
}

}  // namespace devsim
