#include "core/OutArray.h"

#include <ctime>

#include "core/FormFunc.h"

namespace nvx {

namespace {

int NextSlot(int index)
{
    return index % TOutArray::kSlots + 1;
}

} // namespace

TOutArray::TOutArray() = default;
TOutArray::~TOutArray() = default;

void TOutArray::Add(std::unique_ptr<TOutElement> element)
{
    if (!element)
        return;
    const int write = writeIndex_.load(std::memory_order_relaxed);
    const int next = NextSlot(write);
    if (next == readIndex_.load(std::memory_order_acquire)) {
        if (consumer_.load(std::memory_order_relaxed) == std::this_thread::get_id())
            return;
        std::unique_lock lock(roomMutex_);
        room_.wait(lock, [&] { return next != readIndex_.load(std::memory_order_acquire); });
    }
    slots_[write] = std::move(element);
    writeIndex_.store(next, std::memory_order_release);
}

void TOutArray::PostLog(const std::string& text, bool visible, bool timeStamp)
{
    Add(std::make_unique<TMemoOut>(timeStamp ? LogTimeStamp() + text : text, visible));
}

void TOutArray::PostText(const ControlRef& control, const std::string& text)
{
    Add(std::make_unique<TControlOut>(2, control, text));
}

void TOutArray::PostBool(const ControlRef& control, bool flag)
{
    PostText(control, flag ? "true" : "false");
}

void TOutArray::PostInt(const ControlRef& control, long long number)
{
    PostText(control, std::to_string(number));
}

void TOutArray::PostColor(const ControlRef& control, const std::string& colourName)
{
    Add(std::make_unique<TControlOut>(12, control, colourName));
}

void TOutArray::PostComp(const ControlRef& component, const std::string& text)
{
    Add(std::make_unique<TCompOut>(component, text));
}

void TOutArray::PostStatus(const std::string& text, int panel)
{
    Add(std::make_unique<TStatusOut>(text, panel));
}

void TOutArray::PostCell(const ControlRef& grid, const std::string& text, int row, int column)
{
    Add(std::make_unique<TOutStringGrid>(11, grid, text, row, column));
}

void TOutArray::PostRow(const ControlRef& grid, const std::string& text)
{
    Add(std::make_unique<TOutStringGrid>(13, grid, text));
}

void TOutArray::PostSlider(const ControlRef& slider, int number, const std::string& text)
{
    Add(std::make_unique<TTriSliderOut>(slider, number, text));
}

void TOutArray::PostNotice(const std::string& text)
{
    Add(std::make_unique<TMsgOut>(text));
}

bool TOutArray::Empty() const
{
    return readIndex_.load(std::memory_order_relaxed) == writeIndex_.load(std::memory_order_acquire);
}

int TOutArray::Pending() const
{
    const int read = readIndex_.load(std::memory_order_relaxed);
    const int write = writeIndex_.load(std::memory_order_acquire);
    return (write - read + kSlots) % kSlots;
}

std::uint8_t TOutArray::PeekKind() const
{
    if (Empty())
        return 0;
    return slots_[readIndex_.load(std::memory_order_relaxed)]->kind;
}

std::unique_ptr<TOutElement> TOutArray::Take()
{
    consumer_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    const int read = readIndex_.load(std::memory_order_relaxed);
    if (read == writeIndex_.load(std::memory_order_acquire))
        return nullptr;
    std::unique_ptr<TOutElement> element = std::move(slots_[read]);
    {
        // Under the lock so that a producer checking for room cannot miss the wake-up.
        std::lock_guard lock(roomMutex_);
        readIndex_.store(NextSlot(read), std::memory_order_release);
    }
    room_.notify_one();
    return element;
}

void TOutArray::Drain(const DrainTargets& targets)
{
    // Only what is pending now: a producer that keeps adding must not hold the window's thread here.
    for (int left = Pending(); left > 0; --left) {
        std::unique_ptr<TOutElement> element = Take();
        if (!element)
            break; // a drain nested in a modal message box has taken the rest
        try {
            ApplyElement(*element, targets);
        } catch (...) {
            // A failing element is dropped; the ones after it still apply.
        }
    }
}

std::string LogTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    const std::size_t length = std::strftime(stamp, sizeof stamp, "%d.%m.%Y %H:%M:%S ", &local);
    return std::string(stamp, length);
}

} // namespace nvx
