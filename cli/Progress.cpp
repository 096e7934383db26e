#include "cli/Progress.h"

#include "cli/TerminalText.h"

namespace nvx::cli {

namespace {

constexpr char kFrames[] = {'|', '/', '-', '\\'};
constexpr auto kTurn = std::chrono::milliseconds(120);

} // namespace

Progress::Progress(std::ostream& stream, bool terminal) : stream_(stream), terminal_(terminal) {}

Progress::~Progress()
{
    Erase();
}

void Progress::Line(const std::string& text)
{
    Erase();
    stream_ << LogLineForTerminal(text) << '\n';
    Draw();
}

void Progress::Activity(const std::string& text)
{
    std::string shown = EscapeControls(text);
    if (shown == activity_)
        return;
    Erase();
    activity_ = std::move(shown);
    Draw();
}

void Progress::Spin()
{
    if (!terminal_ || activity_.empty())
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastTurn_ < kTurn)
        return;
    lastTurn_ = now;
    frame_ = (frame_ + 1) % static_cast<int>(sizeof kFrames);
    Draw();
}

void Progress::Erase()
{
    if (!drawn_)
        return;
    stream_ << "\r\x1b[K" << std::flush;
    drawn_ = false;
}

void Progress::Draw()
{
    if (!terminal_ || activity_.empty())
        return;
    stream_ << '\r' << kFrames[frame_] << ' ' << activity_ << "\x1b[K" << std::flush;
    drawn_ = true;
}

} // namespace nvx::cli
