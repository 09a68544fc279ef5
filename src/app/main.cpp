#include "app/DialerWindows.h"
#include "app/Startup.h"
#include "controls/MessageBox.h"
#include "orvanta/Version.h"
#include "platform/EventLoopProbe.h"
#include "platform/TerminationWatcher.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSessionManager>
#include <cstdio>

namespace {

const char kEnvironmentHelp[] =
    "\nEnvironment:\n"
    "  ORVANTA_DEPLOYMENT   deployment settings file when --deployment is not given\n"
    "                       (default: deployment.ini beside the program)\n"
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
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(helpOption)) {
        std::printf("Usage: orvanta [--deployment FILE]\n%s%s",
                    qPrintable(parser.helpText().section(QLatin1Char('\n'), 2)), kEnvironmentHelp);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::printf("%s\n", ORVANTA_PRODUCT_VERSION);
        return 0;
    }

    QApplication application(argc, argv);
    orvanta::platform::EventLoopProbe eventLoopProbe;  // ORVANTA_EVENT_LOOP_PROBE=<file>
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANTA_VERSION));

    const QString deploymentPath = orvanta::deploymentSettingsPath(
        parser.value(deploymentOption), QCoreApplication::applicationDirPath());
    const orvanta::DeploymentLoad deployment = orvanta::loadDeploymentSettings(deploymentPath);
    if (!deployment.settings) {
        std::fprintf(stderr, "%s\n", qPrintable(deployment.error));
        orvanta::showMessage(nullptr, deployment.error);
        return 2;
    }

    orvanta::DialerWindows windows(*deployment.settings);
    orvanta::platform::TerminationWatcher termination;
    QObject::connect(&termination, &orvanta::platform::TerminationWatcher::terminationRequested,
                     [&windows] { windows.terminate(); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&windows](QSessionManager&) { windows.terminate(); });

    orvanta::CZebSoftPhoneApp app(windows);
    return orvanta::CZebSoftPhoneApp::exitCode(app.InitInstance());
}
