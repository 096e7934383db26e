// EDeviceError: the one exception type of the serial port component, a message with a 32-bit code.
// Thrown on the thread that calls the component (the link thread); caught at the link thread's boundary.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <system_error>

namespace nvx {

class EDeviceError : public std::runtime_error {
public:
    EDeviceError(std::int32_t code, const std::string& message) : std::runtime_error(message), code_(code) {}
    std::int32_t ErrorCode() const noexcept { return code_; }

private:
    std::int32_t code_;
};

// The codes the component raises, with their fixed messages.
namespace DeviceErrorCode {
inline constexpr std::int32_t NotOpened = 1;      // "Device not opened."
inline constexpr std::int32_t AlreadyOpened = 2;  // "Device is allready opened."
inline constexpr std::int32_t LineBlock = 3;      // "Unable to update device control block."
inline constexpr std::int32_t SendLocked = 4;     // "Device locked. Cannot perform send operations."
inline constexpr std::int32_t ReadLocked = 5;     // "Device locked. Cannot perform read operations."
inline constexpr std::int32_t Queues = 6;         // "Unable to update IO buffers."
inline constexpr std::int32_t Timeouts = 7;       // "Unable to update Timeouts."
inline constexpr std::int32_t ReadFailed = 10;    // "Unable to read from port." + the OS error
inline constexpr std::int32_t WriteFailed = 11;   // "Unable to write to port." + the OS error
inline constexpr std::int32_t CannotOpen = 65535; // "Cannot open device %s"
} // namespace DeviceErrorCode

// The fixed message of a code; empty for a code without one (65535 carries the device name).
inline const char* DeviceErrorText(std::int32_t code)
{
    switch (code) {
    case DeviceErrorCode::NotOpened:
        return "Device not opened.";
    case DeviceErrorCode::AlreadyOpened:
        return "Device is allready opened.";
    case DeviceErrorCode::LineBlock:
        return "Unable to update device control block.";
    case DeviceErrorCode::SendLocked:
        return "Device locked. Cannot perform send operations.";
    case DeviceErrorCode::ReadLocked:
        return "Device locked. Cannot perform read operations.";
    case DeviceErrorCode::Queues:
        return "Unable to update IO buffers.";
    case DeviceErrorCode::Timeouts:
        return "Unable to update Timeouts.";
    case DeviceErrorCode::ReadFailed:
        return "Unable to read from port.";
    case DeviceErrorCode::WriteFailed:
        return "Unable to write to port.";
    default:
        return "";
    }
}

// The error with the fixed message of its code.
inline EDeviceError DeviceError(std::int32_t code)
{
    return EDeviceError(code, DeviceErrorText(code));
}

// A failed OS call, as "<fixed message> (Win32 error <errno>: <strerror>)". The "Win32" wording is kept
// on Linux on purpose: the message log and the callers that parse it know this one form.
inline EDeviceError DeviceOsError(std::int32_t code, int osError)
{
    char text[512];
    std::snprintf(text, sizeof text, "%s (Win32 error %d: %s)", DeviceErrorText(code), osError,
                  std::system_category().message(osError).c_str());
    return EDeviceError(code, text);
}

// Code 65535: "Cannot open device <name>".
inline EDeviceError CannotOpenError(const std::string& deviceName)
{
    return EDeviceError(DeviceErrorCode::CannotOpen, "Cannot open device " + deviceName);
}

} // namespace nvx
