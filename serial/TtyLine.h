// The line parameter block of a Linux tty: rate (any value, through termios2), character format, handshake
// flags and the DTR/RTS lines. Kept apart from XComDrv because the kernel's termios2 header cannot share a
// translation unit with <termios.h>. Called on the thread that owns the port.
#pragma once

#include <cstdint>

namespace nvx::tty {

struct LineBlock {
    std::uint32_t baud = 9600;   // bit/s; a standard rate goes in as its B constant, any other as BOTHER
    int charSize = 8;            // 5..8; anything else is refused
    int parity = 0;              // 0 none, 1 odd, 2 even, 3 mark, 4 space
    bool twoStopBits = false;    // CSTOPB (a 16550-type UART sends 1.5 stop bits with 5-bit characters)
    bool rtsCts = false;         // CRTSCTS: CTS gates transmission and RTS gates reception, both at once
    bool xonOutput = false;      // IXON: transmission pauses on XOFF from the far end
    bool xonInput = false;       // IXOFF: we send XOFF/XON when our input fills and drains
    bool parityCheck = false;    // INPCK
    bool keepDtrOnClose = false; // clears HUPCL so that closing leaves DTR active
    std::uint8_t xonChar = 17;
    std::uint8_t xoffChar = 19;
    bool dtr = false; // modem lines held after the block is applied
    bool rts = false;
};

// Puts the tty into raw mode (no echo, no line editing, no output processing, reads return at once) with
// the block's settings, checks that the driver kept the format and a rate within 3 % of the one asked, then
// drives DTR and RTS. Returns false, with errno set where an OS call failed, when the driver refuses any of
// it. Modem-line calls that the tty does not support (ENOTTY, EINVAL: pseudo-terminals) are not failures.
bool ApplyLine(int fd, const LineBlock& block);

// Reads the settings in force back from the driver (all fields but dtr, rts and keepDtrOnClose).
bool ReadLine(int fd, LineBlock& block);

// Raises (on = true) or lowers the modem lines in `lines` (TIOCM_* bits). Same failure rule as ApplyLine.
bool SetModemLines(int fd, int lines, bool on);

} // namespace nvx::tty
