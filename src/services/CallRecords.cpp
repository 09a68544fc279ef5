#include "services/CallRecords.h"

namespace orvanta {

CallRecords::CallRecords(WebApiClient& client, const ServiceSession& session, QObject* parent)
        : QObject(parent), client_(client), session_(session),
          busy_([this](bool busy) { emit busyChanged(busy); })
{
}

void CallRecords::show()
{
    if (busy()) {
        return;
    }
    rows_.clear();
    emit changed();
    busy_.begin();
    client_.retrieve(WebApiAction::RetrieveLastCalls, session_.sipUser(), this,
                     [this](const WebReply& reply) {
                         takeReply(reply);
                         busy_.end();
                     });
}

void CallRecords::takeReply(const WebReply& reply)
{
    if (reply.failure != OpenUrlFailure::None) {
        emit transportFailed(reply.failure);
    }
    lastReply_ = reply.text;
    if (auto records = parseCallRecords(reply.text)) {
        rows_ = std::move(*records);
        // Records on the list replace an earlier "not found"; a reply
        // without any leaves the label as it was.
        if (!rows_.empty()) {
            label_ = CallLogLabel::Blank;
        }
    } else {
        label_ = CallLogLabel::NotFound;
    }
    if (lastReply_.isEmpty()) {
        label_ = CallLogLabel::NotFound;
    }
    emit changed();
}

}
