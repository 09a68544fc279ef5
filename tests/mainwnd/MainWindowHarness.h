#pragma once

#include "app/AudioWindows.h"
#include "app/DialerCore.h"
#include "app/DialerWindows.h"
#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "signin/CMainLogin.h"
#include "support/FakeClients.h"
#include "support/ScriptedEngine.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
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
    // account 21, and on fake portal and provisioning clients.
    void buildOnScriptedEngine(orvanta::test::ScriptedEngine& scripted)
    {
        ASSERT_TRUE(scripted.load()) << scripted.error();
        scripted.reset();
        scripted.setResult("dll_registerAccount", kScriptedAccount);
        auto fakePortal = std::make_unique<orvanta::test::FakePortal>();
        auto fakeProvisioning = std::make_unique<orvanta::test::FakeProvisioning>();
        portal = fakePortal.get();
        provisioning = fakeProvisioning.get();
        build(scripted.path(), orvanta::test::unusedServices().deployment(),
              orvanta::DialerNetwork{std::move(fakePortal), std::move(fakeProvisioning),
                                     [] { return true; }});
    }
    static constexpr int kScriptedAccount = 21;

    // Opens the window signed in from a saved account, as start-up does.
    void openWithSavedAccount(const QString& user, const QString& password)
    {
        core->start(orvanta::SignInRecord{1, QString(), user, password}, true);
        window()->show();
        model().open();
    }

    orvanta::CZebSoftPhoneDlg* window() const { return windows->mainWindow(); }
    orvanta::MainWindowModel& model() const { return core->mainWindow(); }
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
