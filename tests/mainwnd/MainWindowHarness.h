#pragma once

#include "controls/MessageBox.h"
#include "mainwnd/CZebSoftPhoneDlg.h"
#include "signin/CMainLogin.h"
#include "support/ScriptedEngine.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QTest>
#include <gtest/gtest.h>

// A main window with its sign-in dialog, as start-up pairs them, in a
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
            messages.push_back(request.text);
            return answer;
        });
    }
    ~MainWindowHarness()
    {
        if (window) {
            window->attachSignInDialog(nullptr);
        }
        dialog.reset();
        window.reset();
        orvanta::setMessageBoxHandler({});
        unsetenv("PULSE_SERVER");
    }

    // Builds the window and dialog on these exchanges and loads the engine.
    void build(const orvanta::SignInServices& services, const std::filesystem::path& engine)
    {
        window = std::make_unique<orvanta::CZebSoftPhoneDlg>(services, engine);
        dialog = std::make_unique<orvanta::CMainLogin>(*window, services, window->engine(),
                                                       window->events(), window->signInFlags(),
                                                       window->flags());
        window->attachSignInDialog(dialog.get());
        ASSERT_TRUE(window->loadEngineLibrary()) << window->engine().error();
    }

    // Builds on the scripted engine, fresh, whose registrations answer with
    // account 21.
    void buildOnScriptedEngine(orvanta::test::ScriptedEngine& scripted,
                               const orvanta::SignInServices& services)
    {
        ASSERT_TRUE(scripted.load()) << scripted.error();
        scripted.reset();
        scripted.setResult("dll_registerAccount", kScriptedAccount);
        build(services, scripted.path());
    }
    static constexpr int kScriptedAccount = 21;

    // Opens the window signed in from a saved account.
    void openWithSavedAccount(const QString& user, const QString& password)
    {
        window->takeAutoSignIn(orvanta::SignInRecord{1, QString(), user, password});
        window->open();
    }

    void click(const QString& name)
    {
        QAbstractButton* button = window->face().button(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Leaves a picture of the window in the build folder for people to look at.
    void picture(const char* name)
    {
        window->grab().save(
            QString::fromStdString((orvanta::test::binDir().parent_path() / name).string()));
    }

    orvanta::test::TempDir temp;
    std::vector<QString> messages;
    bool answer = true;
    std::unique_ptr<orvanta::CZebSoftPhoneDlg> window;
    std::unique_ptr<orvanta::CMainLogin> dialog;
};
