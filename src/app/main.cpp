#include "app/DialerCore.h"
#include "app/DialerWindows.h"
#include "app/InstanceHandOver.h"
#include "app/LaunchRequest.h"
#include "app/MainWindowRequests.h"
#include "app/Startup.h"
#include "controls/MessageBox.h"
#include "orvanta/Version.h"
#include "platform/EventLoopProbe.h"
#include "platform/TerminationWatcher.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QSessionManager>
#include <algorithm>
#include <cstdio>

namespace {

const char kEnvironmentHelp[] =
    "\nEnvironment:\n"
    "  ORVANTA_DEPLOYMENT   deployment settings file when --deployment is not given\n"
    "                       (default: the first deployment.ini in $XDG_CONFIG_HOME/orvanta,\n"
    "                       beside the program, or in /etc/xdg/orvanta)\n"
    "  ORVANTA_DATA_DIR     folder of the record files\n"
    "                       (default: $XDG_DATA_HOME/Orvanta or ~/.local/share/Orvanta)\n"
    "  ORVANTA_ENGINE_LOG   file for the SIP engine's debug log\n"
    "  ORVANTA_ENGINE_NULL_AUDIO=1  run the SIP engine without sound devices\n";

}

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Options are read before the GUI starts, so --help works without a display.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Softphone dialer for the prepaid calling service."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    const QCommandLineOption versionOption(QStringLiteral("version"),
                                           QStringLiteral("Show the version."));
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    const QCommandLineOption deploymentOption(QStringLiteral("deployment"),
                                              QStringLiteral("Deployment settings file."),
                                              QStringLiteral("FILE"));
    parser.addOption(deploymentOption);
    const QCommandLineOption answerOption(
        QStringLiteral("answer"), QStringLiteral("Answer the running copy's offered call."));
    const QCommandLineOption hangUpOption(QStringLiteral("hangup"),
                                          QStringLiteral("End the running copy's selected call."));
    const QCommandLineOption showOption(QStringLiteral("show"),
                                        QStringLiteral("Bring the running copy's window forward."));
    const QCommandLineOption minimizedOption(QStringLiteral("minimized"),
                                             QStringLiteral("Start with the window out of sight."));
    parser.addOptions({answerOption, hangUpOption, showOption, minimizedOption});
    parser.addPositionalArgument(
        QStringLiteral("URI"),
        QStringLiteral("sip:, sips:, tel: or callto: address, or a number, to dial."));
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(helpOption)) {
        std::printf("Usage: orvanta [OPTIONS] [URI]\n%s%s",
                    qPrintable(parser.helpText().section(QLatin1Char('\n'), 2)), kEnvironmentHelp);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::printf("%s\n", ORVANTA_PRODUCT_VERSION);
        return 0;
    }
    // A start that carries a request hands it to the running copy, if any.
    const orvanta::LaunchRequest launch = orvanta::launchRequest(
        {parser.isSet(answerOption), parser.isSet(hangUpOption), parser.isSet(showOption)},
        parser.positionalArguments());
    if (!launch.error.isEmpty()) {
        std::fprintf(stderr, "orvanta: %s\n", qPrintable(launch.error));
        return 2;
    }
    if (const int status = orvanta::handOverOrContinue(launch.request); status >= 0) {
        return status;
    }

    QApplication application(argc, argv);
    orvanta::platform::EventLoopProbe eventLoopProbe;  // ORVANTA_EVENT_LOOP_PROBE=<file>
    // The run ends when the main window's model ends it, never because the
    // last visible window closed (Account Login hides the main window).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANTA_VERSION));
    // Ties the windows to the launcher (orvanta.desktop) and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("orvanta"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("orvanta"), QIcon(QStringLiteral(":/orvanta.svg"))));

    const QString deploymentPath = orvanta::deploymentSettingsPath(
        parser.value(deploymentOption), QCoreApplication::applicationDirPath());
    const orvanta::DeploymentLoad deployment = orvanta::loadDeploymentSettings(deploymentPath);
    if (!deployment.settings) {
        std::fprintf(stderr, "%s\n", qPrintable(deployment.error));
        orvanta::showMessage(nullptr, deployment.error);
        return 2;
    }

    orvanta::DialerCore core(*deployment.settings, orvanta::engineLibraryPath());
    orvanta::DialerWindows windows(core);
    orvanta::platform::TerminationWatcher termination;
    QObject::connect(&termination, &orvanta::platform::TerminationWatcher::terminationRequested,
                     [&windows] { windows.terminate(); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&windows](QSessionManager&) { windows.terminate(); });

    orvanta::MainWindowRequests requestTarget(core, windows, parser.isSet(minimizedOption));
    orvanta::InstanceRequests requests(requestTarget);
    requestTarget.setRegistrationObserver(
        [&requests] { requests.requests().registrationChanged(); });

    orvanta::CZebSoftPhoneApp app(windows);
    app.setFirstCopyHook([&requests, &launch] { requests.start(launch.request); });
    const orvanta::StartupResult result = app.InitInstance();
    if (result == orvanta::StartupResult::AlreadyRunning && launch.request) {
        // Another copy took the guard while this one was starting.
        return std::max(orvanta::handOverOrContinue(launch.request), 0);
    }
    return orvanta::CZebSoftPhoneApp::exitCode(result);
}
