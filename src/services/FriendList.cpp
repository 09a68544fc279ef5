#include "services/FriendList.h"

#include <algorithm>

namespace orvanta {

std::optional<FriendNotice> transportNotice(OpenUrlFailure failure)
{
    switch (failure) {
    case OpenUrlFailure::None:
        return std::nullopt;
    case OpenUrlFailure::Exception:
        return FriendNotice::OpenUrlException;
    case OpenUrlFailure::NoFile:
        return FriendNotice::OpenUrlNoFile;
    }
    return std::nullopt;
}

FriendList::FriendList(WebApiClient& client, const ServiceSession& session, QObject* parent)
        : QObject(parent), client_(client), session_(session),
          busy_([this](bool busy) { emit busyChanged(busy); })
{
}

void FriendList::fetch()
{
    const QString user = session_.sipUser();
    if (fetching_ && user == fetchingFor_) {
        return;
    }
    // Another subscriber signed in: the rows are not theirs.
    if (user != rowsFor_) {
        rowsFor_ = user;
        if (!rows_.empty()) {
            rows_.clear();
            emit rowsChanged();
        }
    }
    fetching_ = true;
    fetchingFor_ = user;
    busy_.begin();
    client_.retrieve(WebApiAction::RetrieveFriendList, user, this,
                     [this, user](const WebReply& reply) {
                         // A reply for the previous subscriber, after a
                         // fetch for the next one, changes nothing.
                         if (fetching_ && user == fetchingFor_) {
                             fetching_ = false;
                             take(reply);
                         }
                         busy_.end();
                     });
}

void FriendList::take(const WebReply& reply)
{
    if (const auto failure = transportNotice(reply.failure)) {
        emit notice(*failure);
    } else if (auto rows = parseFriendList(reply.text)) {
        rows_ = std::move(*rows);
        emit rowsChanged();
    }
}

bool FriendList::checkSelection(std::optional<std::size_t> row)
{
    if (!row || *row >= rows_.size()) {
        emit notice(FriendNotice::NoItemSelected);
        return false;
    }
    return true;
}

void FriendList::remove(std::size_t row)
{
    if (row >= rows_.size()) {
        return;
    }
    const FriendEntry entry = rows_[row];
    busy_.begin();
    client_.changeFriend(WebApiAction::DeleteFriendList, session_.sipUser(), entry, this,
                         [this, entry](const WebReply& reply) {
                             if (const auto failure = transportNotice(reply.failure)) {
                                 emit notice(*failure);
                             }
                             if (reply.failure != OpenUrlFailure::None ||
                                 !webApiSucceeded(reply.text)) {
                                 emit notice(FriendNotice::DeleteFailed);
                             } else {
                                 // The row may have moved while the server was asked.
                                 const auto it = std::find(rows_.begin(), rows_.end(), entry);
                                 if (it != rows_.end()) {
                                     rows_.erase(it);
                                     emit rowsChanged();
                                 }
                                 fetch();
                             }
                             busy_.end();
                         });
}

bool FriendList::speedDialUsed(const QString& speedDial) const
{
    return std::any_of(rows_.begin(), rows_.end(),
                       [&](const FriendEntry& row) { return row.speeddial == speedDial; });
}

void FriendList::storeAdded(const FriendEntry& entry)
{
    if (rows_.size() < kFriendTableRows) {
        FriendEntry added = entry;
        added.seqno.clear();
        rows_.push_back(std::move(added));
        emit rowsChanged();
    }
}

void FriendList::storeEdited(std::size_t row, const FriendEntry& entry)
{
    if (row >= rows_.size()) {
        return;
    }
    FriendEntry& stored = rows_[row];
    const QString seqno = stored.seqno;
    stored = entry;
    stored.seqno = seqno;
    emit rowsChanged();
}

}
