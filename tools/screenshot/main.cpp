// orvanta-screenshot: saves the whole X display as a PNG (used by the demo
// on a virtual display).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvanta-screenshot OUTPUT.png\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "orvanta-screenshot: no screen\n");
        return 1;
    }
    if (!screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "orvanta-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
