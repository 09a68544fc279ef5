#include "app/LinkRequests.h"
#include "app/LaunchRequest.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;
using Kind = platform::InstanceRequest::Kind;
using Registration = DialRequestTarget::Registration;

// Notes what the requests asked of the core, one word per act.
class FakeCore : public DialRequestTarget {
public:
    Registration state = Registration::Pending;
    QStringList acts;

    Registration registration() const override { return state; }
    void raiseWindow() override { acts << QStringLiteral("raise"); }
    void dial(const QString& number) override { acts << QStringLiteral("dial ") + number; }
    void answer() override { acts << QStringLiteral("answer"); }
    void hangUp() override { acts << QStringLiteral("hangup"); }
    void tellNotRegistered() override { acts << QStringLiteral("not registered"); }
};

// One step of a story: a request arrives, or the registration changes.
struct Step {
    std::optional<platform::InstanceRequest> request;
    std::optional<Registration> registration;
};

Step request(Kind kind, const char* number = "")
{
    return {platform::InstanceRequest{kind, QString::fromLatin1(number)}, std::nullopt};
}
Step becomes(Registration registration)
{
    return {std::nullopt, registration};
}

struct Story {
    const char* name;
    Registration initially;
    std::vector<Step> steps;
    QStringList acts;
};

TEST(LinkRequests, DialsWhenRegisteredAndWaitsUntilThen)
{
    const Story stories[] = {
        {"registered: dials at once",
         Registration::Registered,
         {request(Kind::Dial, "5551234")},
         {"raise", "dial 5551234"}},
        {"pending: dials once registration comes, and only once",
         Registration::Pending,
         {request(Kind::Dial, "5551234"), becomes(Registration::Pending),
          becomes(Registration::Registered), becomes(Registration::Registered)},
         {"raise", "dial 5551234"}},
        {"pending: the latest of several dials is the one placed",
         Registration::Pending,
         {request(Kind::Dial, "111"), request(Kind::Dial, "222"),
          becomes(Registration::Registered)},
         {"raise", "raise", "dial 222"}},
        {"pending, then failed: told, and not dialled later",
         Registration::Pending,
         {request(Kind::Dial, "5551234"), becomes(Registration::Failed),
          becomes(Registration::Registered)},
         {"raise", "not registered"}},
        {"failed already: told at once",
         Registration::Failed,
         {request(Kind::Dial, "5551234")},
         {"raise", "not registered"}},
        {"show only raises",
         Registration::Pending,
         {request(Kind::Show), becomes(Registration::Registered)},
         {"raise"}},
        {"answer and hang up reach a registered core",
         Registration::Registered,
         {request(Kind::Answer), request(Kind::HangUp)},
         {"answer", "hangup"}},
        {"answer and hang up mean nothing before registration",
         Registration::Pending,
         {request(Kind::Answer), request(Kind::HangUp), becomes(Registration::Registered)},
         {}},
    };
    for (const Story& story : stories) {
        FakeCore core;
        core.state = story.initially;
        LinkRequests requests(core);
        for (const Step& step : story.steps) {
            if (step.request) {
                EXPECT_TRUE(requests.take(*step.request)) << story.name;
            } else {
                core.state = *step.registration;
                requests.registrationChanged();
            }
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(core.acts, story.acts) << story.name;
    }
}

TEST(LinkRequests, TheRequestRunsOnlyAfterTakeReturned)
{
    FakeCore core;
    core.state = Registration::Registered;
    LinkRequests requests(core);
    requests.take({Kind::Dial, QStringLiteral("5551234")});
    EXPECT_TRUE(core.acts.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(core.acts, QStringList({"raise", "dial 5551234"}));
}

struct LaunchCase {
    LaunchCommands commands;
    QStringList addresses;
    std::optional<platform::InstanceRequest> request;
    const char* errorHas;  // nullptr: no error
};

TEST(LaunchRequest, TheCommandLineCarriesAtMostOneRequest)
{
    const LaunchCase cases[] = {
        {{}, {}, std::nullopt, nullptr},
        {{}, {"tel:555-1234"}, platform::InstanceRequest{Kind::Dial, "5551234"}, nullptr},
        {{true, false, false}, {}, platform::InstanceRequest{Kind::Answer, {}}, nullptr},
        {{false, true, false}, {}, platform::InstanceRequest{Kind::HangUp, {}}, nullptr},
        {{false, false, true}, {}, platform::InstanceRequest{Kind::Show, {}}, nullptr},
        {{}, {"hello"}, std::nullopt, "cannot dial \"hello\""},
        {{}, {"12345678901234567890123456"}, std::nullopt, "25 characters"},
        {{}, {"tel:1", "tel:2"}, std::nullopt, "one address"},
        {{true, false, false}, {"tel:1"}, std::nullopt, "one address"},
        {{true, true, false}, {}, std::nullopt, "one address"},
    };
    for (const LaunchCase& c : cases) {
        const LaunchRequest launch = launchRequest(c.commands, c.addresses);
        const std::string name = c.addresses.join(' ').toStdString();
        EXPECT_EQ(launch.request, c.request) << name;
        if (c.errorHas) {
            EXPECT_TRUE(launch.error.contains(QString::fromUtf8(c.errorHas)))
                << name << ": " << launch.error.toStdString();
        } else {
            EXPECT_TRUE(launch.error.isEmpty()) << name << ": " << launch.error.toStdString();
        }
    }
}

}
