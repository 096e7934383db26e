#include "FaultSwitches.h"

namespace devsim {

bool FaultSwitches::countAnswer()
{
    if (!answersLeft_ || *answersLeft_ == 0)
        return false;
    if (--*answersLeft_ > 0)
        return false;
    answersLeft_.reset();
    return true;
}

void FaultSwitches::corrupt(std::string& bytes)
{
    if (corruptionRate_ <= 0.0)
        return;
    std::bernoulli_distribution hit(corruptionRate_);
    std::uniform_int_distribution<int> otherByte(1, 255);
    for (char& byte : bytes) {
        if (hit(random_))
            byte = static_cast<char>(static_cast<unsigned char>(byte) ^ otherByte(random_));
    }
}

bool FaultSwitches::MatchesAny(const std::set<std::string>& prefixes, const std::string& line)
{
    for (const std::string& prefix : prefixes) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return true;
    }
    return false;
}

} // namespace devsim
