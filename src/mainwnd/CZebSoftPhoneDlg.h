#pragma once

#include "controls/SkinnedDialog.h"
#include "mainwnd/MainWindowFace.h"
#include "mainwnd/MainWindowModel.h"

#include <QTimer>

class QMenu;
class QSystemTrayIcon;

namespace orvanta {

class BalanceModel;
class CallController;
class CallViewRelay;

// The main window: a skinned phone body with the dial pad, lines and
// feature buttons. Its face renders the call handling; its menus are built
// from the model's command table; everything it does is decided by the
// model and the call handling, which the composition root owns.
class CZebSoftPhoneDlg : public SkinnedDialog, private MainWindowView {
    Q_OBJECT

public:
    struct Parts {
        MainWindowModel& model;
        CallController& calls;
        CallViewRelay& callView;
        BalanceModel& balance;
    };

    explicit CZebSoftPhoneDlg(const Parts& parts, QWidget* parent = nullptr);
    ~CZebSoftPhoneDlg() override;

    MainWindowModel& model() { return model_; }
    MainWindowFace& face() { return face_; }
    QMenu* settingsMenu() const { return menu_; }
    const QString& lastMessage() const { return lastMessage_; }

    static QString messageText(MainMessage message);
    // The tray icon, for the notices that fall back on it.
    QSystemTrayIcon* tray() const { return tray_; }

signals:
    // The tray icon was clicked: the contacts and recent-calls windows hide.
    void sideWindowsToHide();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    // MainWindowView
    void showDialerStatus(DialerStatus status) override;
    void showProvisionedTexts(const QString& header, const QString& footer) override;
    void showMessage(MainMessage message) override;
    bool confirmQuit(bool fromWindowClose) override;
    void showDialPanel() override;
    void setWaiting(bool waiting) override;
    void showIncomingMessage(const QString& sender, const QString& text) override;
    void openUrl(const QString& url) override;

    MainWindowFace::Actions faceActions();
    void buildMenuAndTray();
    void bindBalance(BalanceModel& balance);
    void onToggle(Toggle toggle, bool pressed);
    void onFlashing(bool flashing);
    void onEnded();

    MainWindowModel& model_;
    CallController& calls_;
    CallViewRelay& callView_;
    MainWindowFace face_;
    QString lastMessage_;
    QTimer flashTimer_;
    QMenu* menu_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
};

}
