#include "platform/NetworkState.h"

#include <ifaddrs.h>
#include <net/if.h>

namespace orvanta::platform {

bool isInternetConnected()
{
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) {
        return false;
    }
    bool connected = false;
    for (const ifaddrs* i = interfaces; i && !connected; i = i->ifa_next) {
        const unsigned flags = i->ifa_flags;
        connected =
            i->ifa_addr && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    freeifaddrs(interfaces);
    return connected;
}

}
