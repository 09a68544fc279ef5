// The whole sign-in chain for real: the dialer's start-up, the sign-in dialog
// typed into, the portal and the scrambled provisioning exchange with the
// service stand-in, the real engine registering with Kamailio, and the main
// window's status line.
#include "app/AudioWindows.h"
#include "app/DialerCore.h"
#include "app/DialerWindows.h"
#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "peers/SipPeers.h"
#include "records/RecordFile.h"
#include "signin/CMainLogin.h"
#include "support/ServiceProcess.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace orvanta;

template <typename Window>
Window* visibleWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

class SignInEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("ORVANTA_DATA_DIR", (temp_ / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", temp_.path().c_str(), 1);
        setenv("ORVANTA_ENGINE_NULL_AUDIO", "1", 1);
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            // Whether this machine has a sound card is not the sign-in's affair.
            if (request.text != QLatin1String(kSoundCardMissing)) {
                messages_.push_back(request.text);
            }
            return true;
        });
        const auto scenario = test::sourceDir() / "tools/service/demo-scenario.json";
        ASSERT_TRUE(service_.start(scenario, {"--registrar", registrar_.hostPort(),
                                              "--write-deployment", deploymentPath()}))
            << service_.error();
        const DeploymentLoad load =
            loadDeploymentSettings(QString::fromStdString(deploymentPath()));
        ASSERT_TRUE(load.settings) << load.error.toStdString();
        deployment_ = *load.settings;
    }
    void TearDown() override { setMessageBoxHandler({}); }

    std::string deploymentPath() const { return (temp_ / "deployment.ini").string(); }

    test::TempDir temp_;
    test::Kamailio registrar_{{{"demo", "demosip5521"}, {"friend", "friendsip7730"}}};
    test::ServiceProcess service_;
    DeploymentSettings deployment_;
    std::vector<QString> messages_;
};

TEST_F(SignInEndToEnd, TypedSignInRegistersAndTheMainWindowIsReady)
{
    DialerCore core(deployment_, test::binDir() / "libOrvanta.so");
    DialerWindows windows(core);
    bool typed = false;
    QString readyText;
    QTimer driver;
    driver.setInterval(50);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (auto* dialog = visibleWindow<CMainLogin>(); dialog && !typed) {
            typed = true;
            dialog->userEdit()->setText(QStringLiteral("demo"));
            dialog->passwordEdit()->setText(QStringLiteral("demo1234"));
            dialog->savePasswordBox()->setChecked(true);
            QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
        }
        if (auto* main = visibleWindow<CZebSoftPhoneDlg>()) {
            readyText = main->face().statusLine()->text();
            main->model().quitNow();
        }
    });
    driver.start();
    QTimer::singleShot(20000, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            window->close();
        }
    });

    CZebSoftPhoneApp app(windows);
    EXPECT_EQ(app.InitInstance(), StartupResult::Finished);
    EXPECT_EQ(readyText, QStringLiteral("Ready : demo"));
    EXPECT_TRUE(messages_.empty()) << messages_.front().toStdString();

    const auto provisioning = service_.requests("provisioning");
    ASSERT_EQ(provisioning.size(), 1u);
    EXPECT_EQ(provisioning[0].extra.at("name"), "Orvanta");
    const auto login = service_.requests("portal.login");
    ASSERT_EQ(login.size(), 1u);
    EXPECT_EQ(login[0].query.at("user"), "demo");

    SignInRecord saved;
    EXPECT_TRUE(loadRecordFile(kSignInRecordKind, saved).complete);
    EXPECT_EQ(saved.savePassword, 1);
    EXPECT_EQ(saved.userName, QStringLiteral("demo"));
    EXPECT_EQ(saved.password, QStringLiteral("demo1234"));
}

TEST_F(SignInEndToEnd, SavedAccountSignsInWithoutTheDialog)
{
    std::filesystem::create_directories(temp_ / "data");
    ASSERT_TRUE(saveRecordFile(kSignInRecordKind, SignInRecord{1, QString(), QStringLiteral("demo"),
                                                               QStringLiteral("demo1234")}));
    DialerCore core(deployment_, test::binDir() / "libOrvanta.so");
    DialerWindows windows(core);
    bool sawDialog = false;
    bool confirmed = false;
    QTimer driver;
    driver.setInterval(50);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        sawDialog = sawDialog || visibleWindow<CMainLogin>();
        if (core.session().registrationState() == RegistrationState::Registered &&
            visibleWindow<CZebSoftPhoneDlg>()) {
            confirmed = true;
            core.mainWindow().quitNow();
        }
    });
    driver.start();
    CZebSoftPhoneApp app(windows);
    EXPECT_EQ(app.InitInstance(), StartupResult::Finished);
    EXPECT_FALSE(sawDialog);
    EXPECT_TRUE(confirmed) << "the registrar accepted the saved account";
}

}
