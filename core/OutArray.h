// The interface update queue: a ring of 1024 slots with one producer (the link thread, or
// the interface thread during a synchronous call) and one consumer (the interface thread).
// Producers never lose an element: when 1023 are pending, Add waits for the consumer.
// A consumer that waits for a producer thread must therefore keep draining while it waits.
// The consumer's own thread cannot wait for itself: its Add to a full queue drops the element.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/OutElement.h"

namespace nvx {

// Where the drain delivers what is not a control of a form model.
struct DrainTargets {
    std::function<void(const std::string& line)> appendLog;       // kind 1
    std::function<void(const std::string& text)> showMessage;     // kind 9, modal
    FormModel* mainForm = nullptr;                                // "StatusBar1" for kind 10
    std::function<void(int relayPage)> refreshRelayPage;          // "radio" + n control commands
    // Wired loops page: "etKOM" + slider name edits, and the loop diagrams redrawn after a
    // slider command.
    FormModel* wiredLoopsPage = nullptr;
    std::function<void()> redrawLoopDiagrams;
};

class TOutArray {
public:
    static constexpr int kSlots = 1024;
    static constexpr int kCapacity = kSlots - 1;

    TOutArray();
    ~TOutArray();

    // Producers.
    void Add(std::unique_ptr<TOutElement> element);
    void PostLog(const std::string& text, bool visible = true, bool timeStamp = true);
    void PostText(const ControlRef& control, const std::string& text);
    void PostBool(const ControlRef& control, bool flag);
    void PostInt(const ControlRef& control, long long number);
    void PostColor(const ControlRef& control, const std::string& colourName);
    void PostComp(const ControlRef& component, const std::string& text);
    void PostStatus(const std::string& text, int panel);
    void PostCell(const ControlRef& grid, const std::string& text, int row, int column);
    void PostRow(const ControlRef& grid, const std::string& text);
    void PostSlider(const ControlRef& slider, int number, const std::string& text);
    void PostNotice(const std::string& text);

    // Consumer.
    bool Empty() const;
    int Pending() const;
    std::uint8_t PeekKind() const;  // 0 when empty
    std::unique_ptr<TOutElement> Take();  // nullptr when empty
    void Drain(const DrainTargets& targets);  // applies all pending, in order

private:
    std::array<std::unique_ptr<TOutElement>, kSlots + 1> slots_;  // slots 1..1024
    std::atomic<int> readIndex_{1};
    std::atomic<int> writeIndex_{1};
    std::mutex roomMutex_;
    std::condition_variable room_;
    std::atomic<std::thread::id> consumer_{};  // the thread that last took an element
};

// The date and time prefix of a time-stamped log line ("dd.MM.yyyy HH:mm:ss ").
std::string LogTimeStamp();

}  // namespace nvx
