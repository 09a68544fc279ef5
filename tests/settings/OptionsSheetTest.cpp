#include "settings/SettingsFixture.h"

#include "controls/MessageBox.h"
#include "records/RecordFile.h"
#include "settings/CApplication.h"
#include "settings/CCodec.h"
#include "settings/CNetwork.h"
#include "settings/COptions.h"
#include "settings/SettingsRecords.h"
#include "settings/WindowStacking.h"
#include "signin/CAccountConfig.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

namespace orvanta::test {
namespace {

// Receives the URLs the dialer hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    explicit UrlCatcher(const QString& scheme) : scheme_(scheme)
    {
        QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(scheme_); }
    std::vector<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls.push_back(url); }

private:
    QString scheme_;
};

struct FakeSession : ManualAccountSession {
    void registerDefaultAccount(const SipAccountRecord& account) override
    {
        registered.push_back(account.accountUser);
    }
    std::vector<QString> registered;
};

// One options sheet on the offscreen screen, its message boxes recorded.
class OptionsSheet : public SettingsFixture {
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            messages.push_back(request.text);
            return true;
        });
        settings.setNumberOfCalls(QStringLiteral("10"));
        settings.setRecordingFolder(QStringLiteral("/music/Orvanta"));
        catalog.codecs = {"PCMU/8000/1", "PCMA/8000/1", "G729/8000/1", "opus/48000/2"};
    }
    void TearDown() override
    {
        sheet.reset();
        setMessageBoxHandler({});
        CApplication::setFolderChooser({});
    }

    COptions& open()
    {
        sheet = std::make_unique<COptions>(OptionsSheetServices{
            settings, autostart, callLog, engine, catalog, registration, accounts, session});
        sheet->show();
        return *sheet;
    }

    std::vector<QWidget*> visiblePages() const
    {
        std::vector<QWidget*> shown;
        for (QWidget* page :
             std::initializer_list<QWidget*>{sheet->generalPage(), sheet->codecPage(),
                                             sheet->networkPage(), sheet->accountPage()}) {
            if (page->isVisible()) {
                shown.push_back(page);
            }
        }
        return shown;
    }

    DialerSettings settings;
    platform::AutostartEntry autostart{QStringLiteral("/usr/bin/orvanta")};
    FakeCallLog callLog;
    FakeCodecEngine engine;
    FakeCodecCatalog catalog;
    FakeRegistration registration;
    SipAccounts accounts;
    FakeSession session;
    std::vector<QString> messages;
    std::unique_ptr<COptions> sheet;
};

TEST_F(OptionsSheet, TreeOffersEveryPageAndShowsOneAtATime)
{
    COptions& options = open();
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Settings"));
    QStringList labels;
    for (int i = 0; i < options.tree()->topLevelItemCount(); ++i) {
        labels.append(options.tree()->topLevelItem(i)->text(0));
    }
    EXPECT_EQ(labels,
              (QStringList{"General", "Codec", "Network", "Account 1", "Account 2", "Account 3",
                           "Account 4", "Account 5", "Account 6", "Account 7", "Account 8"}));
    EXPECT_EQ(visiblePages(), std::vector<QWidget*>{options.generalPage()});

    const std::pair<int, QWidget*> choices[] = {{1, options.codecPage()},
                                                {2, options.networkPage()},
                                                {9, options.accountPage()},
                                                {0, options.generalPage()}};
    for (const auto& [row, page] : choices) {
        options.tree()->setCurrentItem(options.tree()->topLevelItem(row));
        EXPECT_EQ(visiblePages(), std::vector<QWidget*>{page}) << "row " << row;
    }
    accounts.record(7).accountUser = QStringLiteral("grace");
    options.tree()->setCurrentItem(options.tree()->topLevelItem(9));
    EXPECT_EQ(options.accountPage()->userEdit()->text(), QStringLiteral("grace"));
}

struct ChangeCase {
    const char* name;
    SheetItem item;
    std::function<void(COptions&)> change;
};

TEST_F(OptionsSheet, ApplyIsOffWhenAPageShowsAndOnAfterAnyChange)
{
    const ChangeCase cases[] = {
        {"general: a box",
         {SheetPage::General},
         [](COptions& o) { o.generalPage()->launchAtStartBox()->click(); }},
        {"general: the number",
         {SheetPage::General},
         [](COptions& o) { QTest::keyClicks(o.generalPage()->numberOfCallsEdit(), "5"); }},
        {"codec: a move that moves nothing",
         {SheetPage::Codec},
         [](COptions& o) { QTest::mouseClick(o.codecPage()->upButton(), Qt::LeftButton); }},
        {"network: a speed",
         {SheetPage::Network},
         [](COptions& o) { o.networkPage()->speedChoice(ConnectionSpeed::Cable)->click(); }},
        {"network: a port",
         {SheetPage::Network},
         [](COptions& o) { QTest::keyClicks(o.networkPage()->sipPortEdit(), "5"); }},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        COptions& options = open();
        options.select(c.item);
        OptionsPage* page =
            c.item.page == SheetPage::General ? static_cast<OptionsPage*>(options.generalPage())
            : c.item.page == SheetPage::Codec ? static_cast<OptionsPage*>(options.codecPage())
                                              : static_cast<OptionsPage*>(options.networkPage());
        EXPECT_FALSE(page->applyButton()->isEnabled());
        c.change(options);
        EXPECT_TRUE(page->applyButton()->isEnabled());
        options.select({c.item.page == SheetPage::General ? SheetPage::Codec : SheetPage::General});
        options.select(c.item);
        EXPECT_FALSE(page->applyButton()->isEnabled()) << "shown again: off";
    }
}

TEST_F(OptionsSheet, EnterNeitherAppliesNorCloses)
{
    COptions& options = open();
    QLineEdit* calls = options.generalPage()->numberOfCallsEdit();
    calls->setFocus();
    QTest::keyClicks(calls, "abc");
    QTest::keyClick(calls, Qt::Key_Return);
    QTest::keyClick(&options, Qt::Key_Enter);
    options.select({SheetPage::Network});
    QTest::keyClick(options.networkPage()->stunPortEdit(), Qt::Key_Return);
    EXPECT_TRUE(options.isVisible());
    EXPECT_EQ(options.result(), 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(std::filesystem::exists(temp_ / "Orvanta" / "Network.bin"));
}

TEST_F(OptionsSheet, RefusedNumberShowsItsMessagesAndOkStillCloses)
{
    COptions& options = open();
    QLineEdit* calls = options.generalPage()->numberOfCallsEdit();
    calls->clear();
    QTest::keyClicks(calls, "abc");
    QTest::mouseClick(options.generalPage()->applyButton(), Qt::LeftButton);
    EXPECT_EQ(messages, (std::vector<QString>{"Number of Calls Should be Numeric",
                                              "Number of Calls Should be Greater than zero"}));
    messages.clear();
    QTest::mouseClick(options.generalPage()->okButton(), Qt::LeftButton);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(options.result(), QDialog::Accepted);
    EXPECT_FALSE(std::filesystem::exists(recordPath(kApplicationRecordKind)));
    EXPECT_EQ(settings.numberOfCalls(), QStringLiteral("10"));
}

TEST_F(OptionsSheet, AlwaysOnTopTakesEffectAtOnceAndOutlivesCancel)
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 120, 300, 200);
    mainWindow.show();
    followAlwaysOnTop(&mainWindow, settings);
    COptions& options = open();
    options.generalPage()->alwaysOnTopBox()->click();
    EXPECT_FALSE(mainWindow.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QTest::mouseClick(options.generalPage()->applyButton(), Qt::LeftButton);
    EXPECT_TRUE(mainWindow.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_EQ(mainWindow.geometry(), QRect(100, 120, 300, 200));

    QTest::mouseClick(options.generalPage()->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(options.result(), QDialog::Rejected);
    EXPECT_TRUE(mainWindow.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ApplicationRecord stored;
    ASSERT_TRUE(loadRecordFile(kApplicationRecordKind, stored).complete);
    EXPECT_EQ(stored.alwaysOnTop, 1);
    EXPECT_EQ(callLog.kinds, "DRM");
}

TEST_F(OptionsSheet, RecordingFolderIsChosenAndOpened)
{
    QString offered;
    CApplication::setFolderChooser([&offered](QWidget*, const QString& current) {
        offered = current;
        return QStringLiteral("/home/u/Calls");
    });
    UrlCatcher files(QStringLiteral("file"));
    COptions& options = open();
    CApplication* general = options.generalPage();
    EXPECT_EQ(general->locationEdit()->text(), QStringLiteral("/music/Orvanta"));
    QTest::mouseClick(general->browseButton(), Qt::LeftButton);
    EXPECT_EQ(offered, QStringLiteral("/music/Orvanta"));
    EXPECT_EQ(general->locationEdit()->text(), QStringLiteral("/home/u/Calls"));
    EXPECT_TRUE(general->applyButton()->isEnabled());
    QTest::mouseClick(general->openButton(), Qt::LeftButton);
    EXPECT_EQ(files.urls, std::vector<QUrl>{QUrl::fromLocalFile(QStringLiteral("/home/u/Calls"))});
    QTest::mouseClick(general->okButton(), Qt::LeftButton);
    EXPECT_EQ(settings.recordingFolder(), QStringLiteral("/home/u/Calls"));
}

TEST_F(OptionsSheet, CodecPageShowsG711NamesAndWhatTheEngineLacks)
{
    writeRaw(kCodecRecordKind, codecFileBytes({"PCMA/8000/1", "G723/8000/1"}, {}));
    COptions& options = open();
    options.select({SheetPage::Codec});
    CCodec* codec = options.codecPage();
    auto texts = [](QListWidget* list) {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) {
            shown.append(list->item(i)->text());
        }
        return shown;
    };
    EXPECT_EQ(texts(codec->enabledList()), (QStringList{"G711 aLaw", "G723/8000/1"}));
    EXPECT_EQ(texts(codec->disabledList()),
              (QStringList{"G711 uLaw", "G729/8000/1", "opus/48000/2"}));
    EXPECT_TRUE(codec->unavailableLabel()->isVisible());
    EXPECT_TRUE(codec->unavailableLabel()->text().contains(QStringLiteral("G723/8000/1")));

    codec->enabledList()->setCurrentRow(1);
    QTest::mouseClick(codec->upButton(), Qt::LeftButton);
    EXPECT_EQ(texts(codec->enabledList()), (QStringList{"G723/8000/1", "G711 aLaw"}));
    EXPECT_EQ(codec->enabledList()->currentRow(), 0) << "the moved codec stays selected";

    codec->disabledList()->item(2)->setSelected(true);
    codec->disabledList()->item(0)->setSelected(true);
    QTest::mouseClick(codec->enableButton(), Qt::LeftButton);
    EXPECT_EQ(texts(codec->enabledList()),
              (QStringList{"G723/8000/1", "G711 aLaw", "G711 uLaw", "opus/48000/2"}));

    registration.registered = true;
    QTest::mouseClick(codec->okButton(), Qt::LeftButton);
    EXPECT_EQ(options.result(), QDialog::Accepted);
    EXPECT_EQ(readRaw(kCodecRecordKind),
              codecFileBytes({"G723/8000/1", "PCMA/8000/1", "PCMU/8000/1", "opus/48000/2"},
                             {"G729/8000/1"}));
    ASSERT_EQ(engine.calls.size(), 9u) << "registered: the engine takes the order at once";
    EXPECT_EQ(engine.calls[4], (FakeCodecEngine::Call{"G723/8000/1", 255}));
}

TEST_F(OptionsSheet, NetworkOkStaysOpenOnABadPort)
{
    COptions& options = open();
    options.select({SheetPage::Network});
    CNetwork* network = options.networkPage();
    QTest::keyClicks(network->stunPortEdit(), "34x");
    QTest::keyClicks(network->sipPortEdit(), "50y");
    QTest::mouseClick(network->okButton(), Qt::LeftButton);
    EXPECT_EQ(messages, std::vector<QString>{"Stun Port Should be Numeric"});
    EXPECT_TRUE(options.isVisible());

    network->stunPortEdit()->clear();
    network->sipPortEdit()->clear();
    QTest::keyClicks(network->sipPortEdit(), "5070");
    QTest::mouseClick(network->okButton(), Qt::LeftButton);
    EXPECT_EQ(options.result(), QDialog::Accepted);
    NetworkRecord stored;
    ASSERT_TRUE(loadDataFile(QLatin1String(kNetworkFileName), stored).complete);
    EXPECT_EQ(stored.localSipPort, 5070);
}

TEST_F(OptionsSheet, AccountsPageOkNeedsADefault)
{
    COptions& options = open();
    options.select({SheetPage::Account, 2});
    CAccountConfig* page = options.accountPage();
    QTest::keyClicks(page->userEdit(), "bob");
    QTest::keyClicks(page->passwordEdit(), "b1");
    QTest::mouseClick(page->okButton(), Qt::LeftButton);
    EXPECT_EQ(messages, std::vector<QString>{"Atleast one account should be default"});
    EXPECT_TRUE(options.isVisible());
    EXPECT_EQ(accounts.record(2).accountUser, QStringLiteral("bob"));

    page->defaultBox()->click();
    QTest::mouseClick(page->okButton(), Qt::LeftButton);
    EXPECT_EQ(options.result(), QDialog::Accepted);
    EXPECT_EQ(session.registered, std::vector<QString>{QStringLiteral("bob")});
}

}
}

#include "OptionsSheetTest.moc"
