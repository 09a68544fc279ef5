#include "app/ServicesCommands.h"

#include "app/ServicesFeature.h"
#include "mainwnd/Commands.h"
#include "services/CCallInformation.h"
#include "services/CFriendList.h"
#include "services/CRates.h"
#include "services/CRecharge.h"
#include "services/CSMSWindow.h"

#include <QPointer>
#include <memory>

namespace orvanta {

namespace {

// The windows the rows open. They belong to the main window; this keeps
// only a look at them.
class ServicesWindows {
public:
    using DialogFactory = std::function<QDialog*(QWidget* owner)>;

    explicit ServicesWindows(ServicesFeature& services, std::function<QWidget*()> owner)
            : services_(services), owner_(std::move(owner))
    {
    }

    // Showing fetches the list; a window already showing is only raised.
    void showFriendList()
    {
        QWidget* owner = owner_();
        if (!owner) {
            return;
        }
        if (!friendList_) {
            friendList_ = new CFriendList(services_.friends(), owner);
        }
        friendList_->show();
        friendList_->raise();
        friendList_->activateWindow();
    }

    // One dialog at a time: while one is open (it is modal, but the tray
    // menu still reaches the commands) it is raised instead.
    void openDialog(const DialogFactory& create)
    {
        QWidget* owner = owner_();
        if (!owner) {
            return;
        }
        if (dialog_) {
            dialog_->raise();
            dialog_->activateWindow();
            return;
        }
        dialog_ = create(owner);
        dialog_->setAttribute(Qt::WA_DeleteOnClose);
        dialog_->open();
    }

private:
    ServicesFeature& services_;
    std::function<QWidget*()> owner_;
    QPointer<CFriendList> friendList_;
    QPointer<QDialog> dialog_;
};

}

void addServicesCommands(CommandTable& commands, ServicesFeature& services,
                         std::function<QWidget*()> owner)
{
    auto windows = std::make_shared<ServicesWindows>(services, std::move(owner));
    const auto dialogRow = [&](CommandId id, const char* label,
                               ServicesWindows::DialogFactory create) {
        commands.add({id, QString::fromLatin1(label), kRegistered,
                      [windows, create = std::move(create)] { windows->openDialog(create); }});
    };
    commands.add({CommandId::FriendList, QStringLiteral("Friend List"), kRegistered,
                  [windows] { windows->showFriendList(); }});
    dialogRow(CommandId::CallRecords, "Call Records", [&services](QWidget* owner) {
        return new CCallInformation(services.webApi(), services.session(), owner);
    });
    dialogRow(CommandId::Rates, "Rates", [&services](QWidget* owner) {
        return new CRates(services.accountApi(), services.session(), owner);
    });
    dialogRow(CommandId::RechargeTransfer, "Recharge", [&services](QWidget* owner) {
        return new CRecharge(services.accountApi(), services.session(), services.balance(), owner);
    });
    dialogRow(CommandId::Sms, "SMS", [&services](QWidget* owner) {
        return new CSMSWindow(services.sms(), services.session(), services.balance(), owner);
    });
}

}
