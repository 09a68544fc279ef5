#include "net/ServiceHttp.h"

#include <algorithm>

namespace orvanta {

platform::HttpOptions serviceHttpOptions(const DeploymentSettings& deployment,
                                         std::size_t maxBodyBytes)
{
    platform::HttpOptions options;
    options.verifyTls = deployment.verifyTls;
    options.maxBodyBytes = maxBodyBytes;
    options.totalTimeout = std::chrono::milliseconds(deployment.requestTimeoutMs);
    options.connectTimeout = std::min(options.connectTimeout, options.totalTimeout);
    return options;
}

platform::HttpResult ServiceHttp::get(const std::string& url, std::size_t maxBodyBytes) const
{
    return platform::httpGet(url, serviceHttpOptions(deployment_, maxBodyBytes));
}

platform::HttpResult ServiceHttp::postForm(const std::string& url, const std::string& body,
                                           std::size_t maxBodyBytes) const
{
    platform::HttpOptions options = serviceHttpOptions(deployment_, maxBodyBytes);
    options.http10 = true;
    options.headers = {"Content-Type: application/x-www-form-urlencoded"};
    return platform::httpPost(url, body, options);
}

RawRequestLimits rawRequestLimits(const DeploymentSettings& deployment)
{
    RawRequestLimits limits;
    limits.timeout = std::chrono::milliseconds(deployment.requestTimeoutMs);
    return limits;
}

std::string queryValue(const QString& text)
{
    return platform::percentEncode(text.toUtf8().toStdString());
}

std::string baseWithoutTrailingSlash(const QString& base)
{
    std::string text = base.toStdString();
    while (!text.empty() && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

}
