#include "controls/MessageBox.h"
#include "engine/EngineFixture.h"
#include "signin/CLogin.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace orvanta::test {
namespace {

// The session's part: the default account registers with the running
// engine.
struct EngineSession : ManualAccountSession {
    explicit EngineSession(Engine& running) : engine(running) {}
    void registerDefaultAccount(const SipAccountRecord& account) override
    {
        handles.push_back(registerManualAccount(engine, account, {600, 0, 0}));
    }
    Engine& engine;
    std::vector<int> handles;
};

// "Login" with a manual account: typed into the dialog, registered at a
// real registrar by the real engine.
class ManualAccountRegistration : public EngineFixture {
public:
    static void SetUpTestSuite()
    {
        EngineFixture::SetUpTestSuite();
        try {
            registrar = new Kamailio(std::vector<test::SipAccount>{{"frank", "frankpw"}});
        } catch (const std::exception& error) {
            FAIL() << error.what();
        }
    }
    static void TearDownTestSuite()
    {
        delete registrar;
        registrar = nullptr;
    }

protected:
    void SetUp() override
    {
        if (!registrar)
            GTEST_FAIL() << "Kamailio did not start";
        EngineFixture::SetUp();
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            boxes.push_back(request.text);
            return true;
        });
    }
    void TearDown() override
    {
        setMessageBoxHandler({});
        EngineFixture::TearDown();
    }

    // Types the account into a fresh dialog and presses OK.
    void login(const std::string& server, const char* user, const char* pin)
    {
        CLogin dialog(accounts, session, QStringLiteral("http://127.0.0.1:1"), {});
        dialog.show();
        dialog.serverEdit()->setText(QString::fromStdString(server));
        dialog.userEdit()->setText(QString::fromLatin1(user));
        dialog.passwordEdit()->setText(QString::fromLatin1(pin));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }

    static Kamailio* registrar;
    SipAccounts accounts;
    EngineSession session{engine()};
    std::vector<QString> boxes;
};

Kamailio* ManualAccountRegistration::registrar = nullptr;

TEST_F(ManualAccountRegistration, TheDefaultAccountRegistersAndIsReusedNextTime)
{
    login(registrar->hostPort(), "frank", "frankpw");
    ASSERT_EQ(session.handles.size(), 1u);
    EXPECT_EQ(events().waitForRegistration(session.handles[0], 5s), 200) << registrar->output();
    EXPECT_TRUE(registrar->waitForOutput("registered frank")) << registrar->output();

    login(registrar->hostPort(), "frank", "frankpw");
    ASSERT_EQ(session.handles.size(), 2u);
    EXPECT_EQ(events().waitForRegistration(session.handles[1], 5s), 200);
    EXPECT_EQ(accounts.defaultNumber(), 1);
    EXPECT_TRUE(accounts.record(2).accountRegistrar.isEmpty()) << "the same account is reused";
    EXPECT_TRUE(boxes.empty());
}

}
}
