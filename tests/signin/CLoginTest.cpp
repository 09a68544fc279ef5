#include "signin/CLogin.h"
#include "controls/MessageBox.h"
#include "support/TestEnvironment.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace orvanta {
namespace {

class UrlCatcher : public QObject {
    Q_OBJECT

public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    QStringList urls;

public slots:
    void open(const QUrl& url) { urls.append(url.toString()); }
};

struct FakeSession : ManualAccountSession {
    void registerDefaultAccount(const SipAccountRecord& account) override
    {
        registered.push_back(account.accountRegistrar + "/" + account.accountUser);
    }
    std::vector<QString> registered;
};

// The manual account dialog with its boxes answered by the test.
class ManualAccountDialog : public testing::Test {
protected:
    ManualAccountDialog()
    {
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            boxes.push_back(request.title + ": " + request.text);
            return answer;
        });
        dialog = std::make_unique<CLogin>(accounts, session, QStringLiteral("http://web:8080"),
                                          [this] { return sheetAccepted; });
        dialog->show();
    }
    ~ManualAccountDialog() override { setMessageBoxHandler({}); }

    void enter(const QString& server, const QString& user, const QString& pin)
    {
        dialog->serverEdit()->setText(server);
        dialog->userEdit()->setText(user);
        dialog->passwordEdit()->setText(pin);
    }

    SipAccounts accounts;
    FakeSession session;
    bool answer = true;
    bool sheetAccepted = true;
    std::vector<QString> boxes;
    std::unique_ptr<CLogin> dialog;
};

TEST_F(ManualAccountDialog, RefusesBlankFieldsWithTheirMessages)
{
    EXPECT_EQ(dialog->pos(), QPoint(370, 250));
    const struct {
        const char* server;
        const char* user;
        const char* pin;
        const char* box;
    } cases[] = {
        {"", "u", "p", "Orvanta: SIP IP/Domain must not be blank"},
        {"pbx", "", "p", "Orvanta: User Name and Password must not be blank"},
        {"pbx", "u", "", "Orvanta: User Name and Password must not be blank"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        boxes.clear();
        enter(QString::fromLatin1(c.server), QString::fromLatin1(c.user),
              QString::fromLatin1(c.pin));
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        EXPECT_EQ(boxes, std::vector<QString>{QString::fromLatin1(c.box)});
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_TRUE(session.registered.empty());
}

TEST_F(ManualAccountDialog, FullTableAsksBeforeOverwritingTheDefault)
{
    for (int n = 1; n <= kSipAccountCount; ++n) {
        accounts.record(n).accountRegistrar = QStringLiteral("pbx");
        accounts.record(n).accountUser = QStringLiteral("u%1").arg(n);
        accounts.record(n).accountPassword = QStringLiteral("pw");
    }
    accounts.makeDefault(3);
    enter(QStringLiteral("new"), QStringLiteral("n"), QStringLiteral("p"));
    answer = false;
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(boxes, std::vector<QString>{QStringLiteral(
                         "Confirm to Register: All Accounts are full.Do you want to overwrite "
                         "default account information")});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(accounts.record(3).accountUser, QStringLiteral("u3"));

    answer = true;
    QTest::keyClick(dialog->passwordEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(session.registered, std::vector<QString>{QStringLiteral("new/n")});
}

TEST_F(ManualAccountDialog, FillButtonTakesTheDefaultAfterTheSheetsOk)
{
    accounts.record(2).accountUser = QStringLiteral("bob");
    accounts.record(2).accountPassword = QStringLiteral("b1");
    accounts.makeDefault(2);
    sheetAccepted = false;
    QTest::mouseClick(dialog->fillButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->userEdit()->text().isEmpty()) << "the sheet was cancelled";

    sheetAccepted = true;
    QTest::mouseClick(dialog->fillButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->userEdit()->text(), QStringLiteral("bob"));
    EXPECT_EQ(dialog->passwordEdit()->text(), QStringLiteral("b1"));
    EXPECT_EQ(dialog->passwordEdit()->echoMode(), QLineEdit::Password);
}

TEST_F(ManualAccountDialog, SignUpAndHomeOpenTheWebServersPages)
{
    UrlCatcher browser;
    QTest::mouseClick(dialog->signUpButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->homeButton(), Qt::LeftButton);
    EXPECT_EQ(browser.urls, (QStringList{"http://web:8080/NewUserSignUp.jsp?groupId=Quorbanites",
                                         "http://web:8080/"}));
}

}
}

#include "CLoginTest.moc"
