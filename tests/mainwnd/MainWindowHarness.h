#pragma once

#include "app/AudioWindows.h"
#include "app/DialerCore.h"
#include "app/DialerWindows.h"
#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "services/ScriptedServices.h"
#include "signin/CMainLogin.h"
#include "support/FakeClients.h"
#include "support/ScriptedEngine.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// The dialer's composition root and windows, as start-up builds them, in a
// private data folder, with message boxes answered and recorded.
class MainWindowHarness {
public:
    MainWindowHarness()
    {
        setenv("ORVANTA_DATA_DIR", (temp / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", temp.path().c_str(), 1);
        // No sound server: tones and rings stay silent.
        setenv("PULSE_SERVER", (temp / "no-pulse").c_str(), 1);
        orvanta::setMessageBoxHandler([this](const orvanta::MessageBoxRequest& request) {
            // Without a sound server these come at some moment after opening
            // and with every call; kept apart so each test sees only its own
            // messages.
            if (request.text == QLatin1String(orvanta::kSoundCardMissing)) {
                ++soundCardNotices;
                return true;
            }
            if (request.text == orvanta::texts::noMicrophone) {
                ++microphoneNotices;
                return true;
            }
            messages.push_back(request.text);
            if (whileMessageOpen) {
                whileMessageOpen(request);
            }
            return answer;
        });
    }
    ~MainWindowHarness()
    {
        signInPort.reset();
        mainPort.reset();
        windows.reset();
        core.reset();
        orvanta::setMessageBoxHandler({});
        unsetenv("PULSE_SERVER");
    }

    // Builds the core and the windows on this engine and network, and loads
    // the engine.
    void build(const std::filesystem::path& engine, const orvanta::DeploymentSettings& deployment,
               orvanta::DialerNetwork network)
    {
        core = std::make_unique<orvanta::DialerCore>(deployment, engine, std::move(network));
        windows = std::make_unique<orvanta::DialerWindows>(*core);
        mainPort = windows->createMainWindow();
        signInPort = windows->createSignInDialog(*mainPort);
        ASSERT_TRUE(core->loadEngine()) << core->engine().error();
    }

    // Builds on the scripted engine, fresh, whose registrations answer with
    // account 21, and on fake portal and provisioning clients; the account
    // services' clients are the given ones, else scripted ones that never
    // answer, so no test here sends a real request by the way.
    void buildOnScriptedEngine(orvanta::test::ScriptedEngine& scripted,
                               orvanta::ServiceClients services = {})
    {
        ASSERT_TRUE(scripted.load()) << scripted.error();
        scripted.reset();
        scripted.setResult("dll_registerAccount", kScriptedAccount);
        auto fakePortal = std::make_unique<orvanta::test::FakePortal>();
        auto fakeProvisioning = std::make_unique<orvanta::test::FakeProvisioning>();
        portal = fakePortal.get();
        provisioning = fakeProvisioning.get();
        orvanta::DialerNetwork network;
        network.portal = std::move(fakePortal);
        network.provisioning = std::move(fakeProvisioning);
        network.internetAvailable = [] { return true; };
        network.services = withScriptedDefaults(std::move(services));
        build(scripted.path(), orvanta::test::unusedServices().deployment(), std::move(network));
    }
    static constexpr int kScriptedAccount = 21;

    static orvanta::ServiceClients withScriptedDefaults(orvanta::ServiceClients clients)
    {
        if (!clients.webApi) {
            clients.webApi = std::make_unique<orvanta::test::ScriptedWebApi>();
        }
        if (!clients.accountApi) {
            clients.accountApi = std::make_unique<orvanta::test::ScriptedAccountApi>();
        }
        if (!clients.sms) {
            clients.sms = std::make_unique<orvanta::test::ScriptedSmsGateway>();
        }
        return clients;
    }

    // Opens the window signed in from a saved account, as start-up does.
    void openWithSavedAccount(const QString& user, const QString& password)
    {
        core->start(orvanta::SignInRecord{1, QString(), user, password}, true);
        window()->show();
        model().open();
    }

    // Signs in at start-up through the dialog with typed credentials, the
    // registration accepted; the dialog, or nothing when it did not accept.
    orvanta::CMainLogin* signInByDialog(orvanta::test::ScriptedEngine& scripted,
                                        const QString& user, const QString& password)
    {
        core->start(orvanta::SignInRecord{}, false);
        orvanta::CMainLogin* dialog = windows->signInDialog();
        if (!dialog) {
            return nullptr;
        }
        dialog->show();
        dialog->userEdit()->setText(user);
        dialog->passwordEdit()->setText(password);
        QTest::mouseClick(dialog->signInButton(), Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return !scripted.callsTo("dll_registerAccount").empty(); },
                             2000)) {
            return nullptr;
        }
        scripted.fireRegistration(kScriptedAccount, 200);
        const bool accepted =
            QTest::qWaitFor([&] { return dialog->result() == QDialog::Accepted; }, 2000);
        return accepted ? dialog : nullptr;
    }

    orvanta::CZebSoftPhoneDlg* window() const { return windows->mainWindow(); }
    orvanta::MainWindowModel& model() const { return core->mainWindow(); }

    struct LoggedCall {
        char kind;  // 'D', 'R' or 'M'
        QString number;
        QString duration;
    };
    // Every call in the call log: dialled, then received, then missed.
    std::vector<LoggedCall> loggedCalls() const
    {
        std::vector<LoggedCall> calls;
        const std::pair<orvanta::CallKind, char> kinds[] = {{orvanta::CallKind::Dialed, 'D'},
                                                            {orvanta::CallKind::Received, 'R'},
                                                            {orvanta::CallKind::Missed, 'M'}};
        for (const auto& [kind, letter] : kinds) {
            for (const auto& record : core->callLog().list(kind)) {
                calls.push_back({letter, record.entry.number, record.entry.duration});
            }
        }
        return calls;
    }
    orvanta::MainWindowFace& face() const { return window()->face(); }
    QString status() const;
    bool finished() const { return model().finished(); }

    void click(const QString& name)
    {
        QAbstractButton* button = face().button(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // The sign-in dialog that is open now, if any.
    orvanta::CMainLogin* openDialog() const
    {
        orvanta::CMainLogin* dialog = windows->signInDialog();
        return dialog && dialog->isVisible() ? dialog : nullptr;
    }

    // Leaves a picture of the window in the build folder for people to look at.
    void picture(const char* name)
    {
        window()->grab().save(
            QString::fromStdString((orvanta::test::binDir().parent_path() / name).string()));
    }

    orvanta::test::TempDir temp;
    std::vector<QString> messages;
    int soundCardNotices = 0;
    int microphoneNotices = 0;
    std::function<void(const orvanta::MessageBoxRequest&)> whileMessageOpen;
    bool answer = true;
    std::unique_ptr<orvanta::DialerCore> core;
    std::unique_ptr<orvanta::DialerWindows> windows;
    std::unique_ptr<orvanta::MainWindowPort> mainPort;
    std::unique_ptr<orvanta::SignInDialogPort> signInPort;
    orvanta::test::FakePortal* portal = nullptr;
    orvanta::test::FakeProvisioning* provisioning = nullptr;
};

#include <QLabel>

inline QString MainWindowHarness::status() const
{
    return face().statusLine()->text();
}
