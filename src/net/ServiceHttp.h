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

// The limits of a hand-written request to the operator's services (PostForm):
// the deployment's time limit for the whole exchange.
RawRequestLimits rawRequestLimits(const DeploymentSettings& deployment);

// A value for a query string, UTF-8 and percent-encoded.
std::string queryValue(const QString& text);

// The base address without trailing slashes, so paths can be appended.
std::string baseWithoutTrailingSlash(const QString& base);

}
