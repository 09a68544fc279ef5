#pragma once

#include "net/DeploymentSettings.h"
#include "net/RawHttpRequest.h"
#include "platform/HttpClient.h"

#include <QString>
#include <string>

namespace orvanta {

// The HTTP options every request to the operator's services uses: the
// deployment's time limit and certificate policy, and a byte cap.
platform::HttpOptions serviceHttpOptions(const DeploymentSettings& deployment,
                                         std::size_t maxBodyBytes);

// The one HTTP(S) client of the operator's services: the deployment's time
// limit and certificate policy, the proxy from the environment, and a byte
// cap per request. Blocking; safe on any thread (clients call it off the GUI
// thread).
class ServiceHttp {
public:
    explicit ServiceHttp(const DeploymentSettings& deployment) : deployment_(deployment) {}

    platform::HttpResult get(const std::string& url, std::size_t maxBodyBytes) const;
    // An HTTP/1.0 form POST, as the provisioning server expects.
    platform::HttpResult postForm(const std::string& url, const std::string& body,
                                  std::size_t maxBodyBytes) const;

private:
    DeploymentSettings deployment_;
};

// The limits of a hand-written request to the operator's services (PostForm):
// the deployment's time limit for the whole exchange.
RawRequestLimits rawRequestLimits(const DeploymentSettings& deployment);

// A value for a query string, UTF-8 and percent-encoded.
std::string queryValue(const QString& text);

// The base address without trailing slashes, so paths can be appended.
std::string baseWithoutTrailingSlash(const QString& base);

}
