#include "platform/InputDropper.h"
#include "platform/BlockingWait.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace orvanta::platform;

// Counts the events it receives by type.
class Receiver : public QObject {
public:
    std::map<QEvent::Type, int> received;

protected:
    bool event(QEvent* e) override
    {
        ++received[e->type()];
        return true;
    }
};

TEST(InputDropper, InputDuringAWaitIsDroppedNotDeliveredAfterwards)
{
    Receiver receiver;
    QTimer::singleShot(20, [&] {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::KeyPress, QEvent::User}) {
            QCoreApplication::postEvent(&receiver, new QEvent(type));
        }
    });
    pauseWithoutUserInput(std::chrono::milliseconds(150));
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received[QEvent::MouseButtonPress], 0);
    EXPECT_EQ(receiver.received[QEvent::KeyPress], 0);
    EXPECT_EQ(receiver.received[QEvent::User], 1) << "other events go on";

    // Once the wait is over, input arrives again.
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::KeyPress));
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received[QEvent::KeyPress], 1);
}

TEST(InputDropper, ADialogOpenedDuringTheWaitGetsItsInput)
{
    Receiver receiver;
    QTimer::singleShot(20, [&] {
        // A deeper loop, as a message box runs.
        QEventLoop box;
        QCoreApplication::postEvent(&receiver, new QEvent(QEvent::KeyPress));
        QTimer::singleShot(50, &box, &QEventLoop::quit);
        box.exec();
    });
    pauseWithoutUserInput(std::chrono::milliseconds(200));
    EXPECT_EQ(receiver.received[QEvent::KeyPress], 1);
}

}
