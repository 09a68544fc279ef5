// User names that are not plain ASCII register with a real registrar once
// their address is escaped.
#include "engine/EngineFixture.h"
#include "telephony/EngineSetup.h"

namespace orvanta::test {
namespace {

using SipUserRegistration = EngineFixture;

TEST_F(SipUserRegistration, NonAsciiUsersRegisterWithKamailio)
{
    const char* const users[] = {"j\u00f6rg", "\u540d\u524d", "caf\u00e9\U0001F4DE"};  // UTF-8
    std::vector<SipAccount> accounts;
    for (const char* user : users) {
        accounts.push_back({user, "secret9"});
    }
    Kamailio registrar(accounts);
    const QString host = QString::fromStdString(registrar.hostPort());
    for (const char* user : users) {
        SCOPED_TRACE(user);
        // The address exactly as the dialer's registration builds it.
        const QByteArray address = sipUri(QString::fromUtf8(user), host);
        const int account = api().registerAccount(address.constData(), address.constData(), "*",
                                                  user, "secret9", nullptr, 1, 600, 0, 0);
        ASSERT_GT(account, 0);
        EXPECT_EQ(events().waitForRegistration(account, 5s), 200) << registrar.output();
    }
}

}
}
