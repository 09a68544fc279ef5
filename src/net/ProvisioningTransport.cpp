#include "net/ProvisioningTransport.h"

#include "net/RequestProtection.h"
#include "net/ServiceHttp.h"

namespace orvanta {

namespace {

constexpr std::size_t kMaxProvisioningReply = 64 * 1024;
const QByteArray kServerErrorText = QByteArrayLiteral("server error");

}

QByteArray provisioningReplyText(const platform::HttpResult& result, const std::string& key)
{
    const bool succeeded = result.status >= 200 && result.status < 300;
    if (!result.transferred || !succeeded || result.truncated || result.body.empty()) {
        return {};
    }
    QByteArray reply = QByteArray::fromStdString(scrambled(result.body, key));
    if (reply.trimmed() == kServerErrorText ||
        QByteArray::fromStdString(result.body).trimmed() == kServerErrorText) {
        return {};
    }
    return reply;
}

QByteArray ProvisioningTransport::provisioningPost(const std::string& body,
                                                   const std::string& key) const
{
    return provisioningReplyText(
        ServiceHttp(deployment_)
            .postForm(deployment_.provisioningUrl.toStdString(), body, kMaxProvisioningReply),
        key);
}

}
