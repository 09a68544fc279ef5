#include "app/PlaceholderWindows.h"
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.9"));
    orvanta::PlaceholderWindows windows;
    orvanta::CZebSoftPhoneApp app(windows);
    return orvanta::CZebSoftPhoneApp::exitCode(app.InitInstance());
}
