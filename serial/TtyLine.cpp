#include "serial/TtyLine.h"

// The kernel's own termios (with termios2, BOTHER, TCGETS2/TCSETS2); glibc's <termios.h> must stay out.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdlib>

namespace nvx::tty {
namespace {

struct StandardRate {
    std::uint32_t value;
    tcflag_t code;
};

constexpr StandardRate kStandardRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

tcflag_t RateCode(std::uint32_t baud)
{
    for (const StandardRate& rate : kStandardRates)
        if (rate.value == baud)
            return rate.code;
    return BOTHER;
}

tcflag_t CharSizeFlag(int charSize)
{
    switch (charSize) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

tcflag_t ParityFlags(int parity)
{
    switch (parity) {
    case 1:
        return PARENB | PARODD;
    case 2:
        return PARENB;
    case 3:
        return PARENB | CMSPAR | PARODD;
    case 4:
        return PARENB | CMSPAR;
    default:
        return 0;
    }
}

// The c_cflag bits that carry the format; a driver that cannot do a format quietly keeps other bits.
constexpr tcflag_t kFormatBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;

bool IgnorableModemFailure()
{
    return errno == ENOTTY || errno == EINVAL;
}

} // namespace

bool SetModemLines(int fd, int lines, bool on)
{
    if (lines == 0)
        return true;
    return ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &lines) == 0 || IgnorableModemFailure();
}

bool ApplyLine(int fd, const LineBlock& block)
{
    if (block.charSize < 5 || block.charSize > 8 || block.parity < 0 || block.parity > 4 || block.baud == 0) {
        errno = EINVAL; // the rate 0 would hang the line up
        return false;
    }
    termios2 t{};
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return false;

    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON | IXOFF | IXANY |
                   IMAXBEL | INPCK | IGNPAR);
    if (block.xonOutput)
        t.c_iflag |= IXON;
    if (block.xonInput)
        t.c_iflag |= IXOFF;
    if (block.parityCheck)
        t.c_iflag |= INPCK;
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);

    const tcflag_t rateCode = RateCode(block.baud);
    const tcflag_t format = CharSizeFlag(block.charSize) | ParityFlags(block.parity) |
                            (block.twoStopBits ? CSTOPB : 0) | (block.rtsCts ? CRTSCTS : 0);
    t.c_cflag &= ~(kFormatBits | CBAUD | CIBAUD | HUPCL); // CIBAUD 0: input rate = output rate
    t.c_cflag |= format | rateCode | CLOCAL | CREAD | (block.keepDtrOnClose ? 0 : HUPCL);
    t.c_ispeed = t.c_ospeed = block.baud;

    t.c_cc[VMIN] = 0; // a read returns at once with what has arrived
    t.c_cc[VTIME] = 0;
    t.c_cc[VSTART] = block.xonChar;
    t.c_cc[VSTOP] = block.xoffChar;

    if (::ioctl(fd, TCSETS2, &t) != 0)
        return false;

    // The ioctl succeeds when any part of the change took; check that the driver kept what matters.
    termios2 kept{};
    if (::ioctl(fd, TCGETS2, &kept) != 0)
        return false;
    const auto rateError = static_cast<std::uint64_t>(
        std::llabs(static_cast<long long>(kept.c_ospeed) - static_cast<long long>(block.baud)));
    if ((kept.c_cflag & kFormatBits) != format || rateError * 100 > std::uint64_t{block.baud} * 3) {
        errno = EINVAL;
        return false;
    }

    return SetModemLines(fd, TIOCM_DTR, block.dtr) && SetModemLines(fd, TIOCM_RTS, block.rts);
}

bool ReadLine(int fd, LineBlock& block)
{
    termios2 t{};
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return false;
    block.baud = t.c_ospeed;
    switch (t.c_cflag & CSIZE) {
    case CS5:
        block.charSize = 5;
        break;
    case CS6:
        block.charSize = 6;
        break;
    case CS7:
        block.charSize = 7;
        break;
    default:
        block.charSize = 8;
        break;
    }
    if (!(t.c_cflag & PARENB))
        block.parity = 0;
    else if (t.c_cflag & CMSPAR)
        block.parity = (t.c_cflag & PARODD) ? 3 : 4;
    else
        block.parity = (t.c_cflag & PARODD) ? 1 : 2;
    block.twoStopBits = (t.c_cflag & CSTOPB) != 0;
    block.rtsCts = (t.c_cflag & CRTSCTS) != 0;
    block.xonOutput = (t.c_iflag & IXON) != 0;
    block.xonInput = (t.c_iflag & IXOFF) != 0;
    block.parityCheck = (t.c_iflag & INPCK) != 0;
    block.xonChar = t.c_cc[VSTART];
    block.xoffChar = t.c_cc[VSTOP];
    return true;
}

} // namespace nvx::tty
