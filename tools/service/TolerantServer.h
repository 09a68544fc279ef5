#pragma once

#include <httplib.h>

namespace orvanta::service {

// A plain HTTP server that also takes request targets the dialer sends
// unescaped: the web API's XML document brings a second '?', and values
// may hold raw spaces. Such targets are escaped before parsing (%3F, %20);
// the services decode %XX anyway. Replies are never compressed, whatever the
// request offers. One request per connection.
class TolerantServer : public httplib::Server {
private:
    bool process_and_close_socket(socket_t sock) override;
};

// The request line with an escaped target, as a standard parser takes it.
std::string escapedRequestLine(const std::string& line);

}
