#include "services/AddFriendForm.h"

#include <algorithm>

namespace orvanta {

namespace {

bool onlyDigits(const QString& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

}

std::optional<FriendNotice> checkFriendFields(const FriendEntry& typed, const FriendList& list)
{
    if (typed.name.isEmpty() || typed.pcphone.isEmpty()) {
        return FriendNotice::NameAndPhoneRequired;
    }
    if (!onlyDigits(typed.pcphone)) {
        return FriendNotice::PhoneNotNumeric;
    }
    if (!typed.speeddial.isEmpty() && !onlyDigits(typed.speeddial)) {
        return FriendNotice::SpeedDialNotNumeric;
    }
    if (!typed.speeddial.isEmpty() && list.speedDialUsed(typed.speeddial)) {
        return FriendNotice::SpeedDialUsed;
    }
    if (!typed.fax.isEmpty() && !onlyDigits(typed.fax)) {
        return FriendNotice::FaxNotNumeric;
    }
    return std::nullopt;
}

AddFriendForm::AddFriendForm(FriendList& list, FriendFormMode mode, std::size_t row,
                             QObject* parent)
        : QObject(parent), list_(list), mode_(mode), row_(row),
          busy_([this](bool busy) { emit busyChanged(busy); })
{
}

FriendEntry AddFriendForm::initialFields() const
{
    if (mode_ == FriendFormMode::Add || row_ >= list_.rows().size()) {
        return {};
    }
    FriendEntry fields = list_.rows()[row_];
    fields.seqno.clear();
    return fields;
}

void AddFriendForm::submit(const FriendEntry& typed)
{
    if (busy()) {
        return;
    }
    if (const auto failed = checkFriendFields(typed, list_)) {
        emit refused(*failed);
        return;
    }
    const bool editing = mode_ == FriendFormMode::Edit;
    if (editing && row_ >= list_.rows().size()) {
        emit notice(FriendNotice::ChangeFailed);
        return;
    }
    FriendEntry sent = typed;
    sent.seqno = editing ? list_.rows()[row_].seqno : QString();
    busy_.begin();
    list_.client().changeFriend(
        editing ? WebApiAction::UpdateFriendList : WebApiAction::AddFriendList,
        list_.subscriberId(), sent, this, [this, sent, editing](const WebReply& reply) {
            busy_.end();
            if (const auto failure = transportNotice(reply.failure)) {
                emit notice(*failure);
            }
            if (reply.failure != OpenUrlFailure::None || !webApiSucceeded(reply.text)) {
                emit notice(FriendNotice::ChangeFailed);
                return;
            }
            if (editing) {
                list_.storeEdited(row_, sent);
            } else {
                list_.storeAdded(sent);
            }
            emit accepted();
        });
}

}
