#include "Device.h"

namespace devsim {

std::string FrameReply(const Reply& reply)
{
    switch (reply.kind) {
    case Reply::Kind::Value:
        return reply.value + "\r\nOK\r\n";
    case Reply::Kind::Ok:
        return "OK\r\n";
    case Reply::Kind::Ign:
        return "IGN\r\n";
    case Reply::Kind::Silent:
        return {};
    case Reply::Kind::Err:
        break;
    }
    return "ERR\r\n";
}

} // namespace devsim
