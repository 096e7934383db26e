// Key-press filters for page edits: each returns the key when the edit accepts it, else 0 so
// that the edit ignores it. Pure functions, any thread (the window's thread calls them).
#pragma once

namespace nvx {

class TInputController {
public:
    TInputController() = delete;

    static constexpr char32_t kBackspace = 8;

    static char32_t Digits(char32_t key);        // 0-9
    static char32_t DigitsAndPlus(char32_t key); // 0-9, "+"
    static char32_t DialString(char32_t key);    // 0-9, "+", W or w (wait for dial tone)
    static char32_t Hexadecimal(char32_t key);   // 0-9, A-F, a-f
};

} // namespace nvx
