#pragma once

namespace orvanta::platform {

// Whether the machine has a network connection: some interface other than
// loopback is up and running with an address.
bool isInternetConnected();

}
