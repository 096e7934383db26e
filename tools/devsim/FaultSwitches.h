// The faults the emulator can be told to show, from the command line or at run time: commands it is deaf
// to or rejects, a dropped line, an answer count after which the line drops, and line noise. Emulator thread.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <set>
#include <string>

namespace devsim {

class FaultSwitches {
public:
    explicit FaultSwitches(std::uint32_t seed) : random_(seed) {}

    // Lines starting with `prefix` get no reaction at all, not even the echo.
    void ignore(const std::string& prefix) { ignored_.insert(prefix); }
    void stopIgnoring(const std::string& prefix) { ignored_.erase(prefix); }
    bool ignores(const std::string& line) const { return MatchesAny(ignored_, line); }

    // Lines starting with `prefix` are echoed and refused.
    void reject(const std::string& prefix) { rejected_.insert(prefix); }
    void stopRejecting(const std::string& prefix) { rejected_.erase(prefix); }
    bool rejects(const std::string& line) const { return MatchesAny(rejected_, line); }

    // A dropped line carries nothing from the device until it is revived.
    void drop() { dropped_ = true; }
    void revive() { dropped_ = false; }
    bool dropped() const { return dropped_; }

    // After `answers` more answered commands the line drops, once.
    void dropAfter(std::uint64_t answers) { answersLeft_ = answers; }
    // Counts one answered command; true when this answer is the last before the drop.
    bool countAnswer();

    // Each byte is replaced by a different random byte with probability `rate` (0 to 1).
    void setCorruptionRate(double rate) { corruptionRate_ = rate; }
    void corrupt(std::string& bytes);

private:
    static bool MatchesAny(const std::set<std::string>& prefixes, const std::string& line);

    std::set<std::string> ignored_;
    std::set<std::string> rejected_;
    bool dropped_ = false;
    std::optional<std::uint64_t> answersLeft_;
    double corruptionRate_ = 0.0;
    std::mt19937 random_;
};

} // namespace devsim
