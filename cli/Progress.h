// Progress on the error stream: lines that stay, and on a terminal only a spinner line saying
// what runs now, so redirected output holds no cursor control. Main thread.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

namespace nvx::cli {

class Progress {
public:
    Progress(std::ostream& stream, bool terminal);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // A line that stays above the spinner.
    void Line(const std::string& text);
    // What the spinner line says from now on; empty removes it.
    void Activity(const std::string& text);
    // Turns the spinner; cheap enough to call on every pass of a wait loop.
    void Spin();

private:
    void Erase();
    void Draw();

    std::ostream& stream_;
    bool terminal_;
    std::string activity_;
    bool drawn_ = false;
    int frame_ = 0;
    std::chrono::steady_clock::time_point lastTurn_{};
};

} // namespace nvx::cli
