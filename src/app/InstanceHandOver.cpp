#include "app/InstanceHandOver.h"

#include "app/Startup.h"
#include "platform/SingleInstanceGuard.h"

#include <cstdio>
#include <thread>

namespace orvanta {

namespace {

constexpr std::chrono::milliseconds kRetryInterval{100};

std::filesystem::path channelPath()
{
    return platform::instanceChannelPath(kSingleInstanceName);
}

bool anotherCopyHoldsTheGuard()
{
    return !platform::SingleInstanceGuard(kSingleInstanceName).acquired();
}

HandOverOutcome failed(const QString& error)
{
    return {HandOverOutcome::Result::Failed, error};
}

}

HandOverOutcome handToRunningCopy(const platform::InstanceRequest& request,
                                  std::chrono::milliseconds patience)
{
    using platform::HandOverResult;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    const std::filesystem::path path = channelPath();
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        switch (platform::sendToRunningCopy(path, request, std::max(left, kRetryInterval))) {
        case HandOverResult::Delivered:
            return {HandOverOutcome::Result::HandedOver, {}};
        case HandOverResult::Refused:
            return failed(QStringLiteral("the running copy refused the request"));
        case HandOverResult::Untrusted:
            return failed(QString::fromStdString(path.string()) +
                          QStringLiteral(" belongs to another user; nothing was sent"));
        case HandOverResult::Failed:
            return failed(QStringLiteral("the running copy did not answer"));
        case HandOverResult::NoRunningCopy:
            break;
        }
        if (!anotherCopyHoldsTheGuard()) {
            return {};
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return failed(QStringLiteral("the running copy does not take requests"));
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
}

int handOverOrContinue(const std::optional<platform::InstanceRequest>& request)
{
    if (!request) {
        return -1;
    }
    const HandOverOutcome outcome = handToRunningCopy(*request);
    switch (outcome.result) {
    case HandOverOutcome::Result::HandedOver:
        return 0;
    case HandOverOutcome::Result::Failed:
        std::fprintf(stderr, "orvanta: %s\n", qPrintable(outcome.error));
        return 1;
    case HandOverOutcome::Result::NoRunningCopy:
        break;
    }
    using Kind = platform::InstanceRequest::Kind;
    if (request->kind == Kind::Answer || request->kind == Kind::HangUp) {
        std::fprintf(stderr, "orvanta: no running copy to %s\n",
                     request->kind == Kind::Answer ? "answer a call" : "hang up");
        return 1;
    }
    return -1;
}

InstanceRequests::InstanceRequests(DialRequestTarget& target)
        : requests_(target), channel_([this](const platform::InstanceRequest& request) {
              return requests_.take(request);
          })
{
}

void InstanceRequests::start(const std::optional<platform::InstanceRequest>& own)
{
    if (!channel_.listen(channelPath())) {
        std::fprintf(stderr, "orvanta: links and second starts cannot reach this copy: %s\n",
                     channel_.error().c_str());
    }
    if (own) {
        requests_.take(*own);
    }
}

}
