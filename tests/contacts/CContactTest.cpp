#include "contacts/CContact.h"
#include "contacts/CContactProperties.h"
#include "contacts/ContactStore.h"
#include "controls/MessageBox.h"
#include "support/DataFolderFixture.h"
#include "support/SideViewFakes.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <fstream>

namespace {

using namespace orvanta;

// The contacts window with its boxes answered and recorded.
class CContactTest : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        setMessageBoxHandler([this](const MessageBoxRequest& request) {
            messages.push_back(request.text);
            return answer;
        });
    }
    void TearDown() override { setMessageBoxHandler({}); }

    void fill(std::initializer_list<Contact> contacts)
    {
        for (const Contact& contact : contacts) {
            ASSERT_TRUE(store.add(contact));
        }
    }

    QStringList treeNames() const
    {
        QStringList names;
        for (int i = 0; i < window.tree()->topLevelItemCount(); ++i) {
            names.append(window.tree()->topLevelItem(i)->text(0));
        }
        return names;
    }

    QTreeWidgetItem* item(const QString& name) const
    {
        const QList<QTreeWidgetItem*> found = window.tree()->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.front();
    }

    void click(QTreeWidgetItem* row)
    {
        QTest::mouseClick(window.tree()->viewport(), Qt::LeftButton, {},
                          window.tree()->visualItemRect(row).center());
    }

    // The first press of a double click selects, as a person's does.
    void doubleClick(QTreeWidgetItem* row)
    {
        click(row);
        QTest::mouseDClick(window.tree()->viewport(), Qt::LeftButton, {},
                           window.tree()->visualItemRect(row).center());
    }

    QAction* menuEntry(const QString& text) const
    {
        QTest::mouseClick(window.optionsButton(), Qt::LeftButton);
        window.optionsMenu()->hide();
        for (QAction* action : window.optionsMenu()->actions()) {
            if (action->text() == text) {
                return action;
            }
        }
        return nullptr;
    }

    // Runs the editor with typed text instead of waiting for a person.
    void typeIntoEditor(std::function<void(CContactProperties&)> typing)
    {
        window.setEditorRunner([typing](CContactProperties& editor) { typing(editor); });
    }

    ContactStore store;
    FakeDialer dialer;
    CContact window{store, dialer};
    std::vector<QString> messages;
    bool answer = true;
};

TEST_F(CContactTest, TheTreeListsNamesSortedAndTheSearchFiltersThem)
{
    fill({contactNamed("John", "1"), contactNamed("Ajo", "2"), contactNamed("joanna", "3")});
    EXPECT_EQ(treeNames(), (QStringList{"Ajo", "joanna", "John"}));
    QTest::keyClicks(window.searchBox(), "jo");
    EXPECT_EQ(treeNames(), (QStringList{"joanna", "John"}));
    EXPECT_TRUE(window.searchLabel()->text().isEmpty());
    QTest::keyClicks(window.searchBox(), "x");
    EXPECT_TRUE(treeNames().isEmpty());
    EXPECT_EQ(window.searchLabel()->text(), "No results found");
    window.searchBox()->clear();
    EXPECT_EQ(treeNames().size(), 3);
    EXPECT_TRUE(window.searchLabel()->text().isEmpty());
}

struct TooltipCase {
    Contact contact;
    QString body;
};

TEST_F(CContactTest, HoveringShowsTheFirstNumberInTheTooltip)
{
    const TooltipCase cases[] = {
        {contactNamed("A & B", "111", "222"), "\n     Mobile           111    \n\n"},
        {contactNamed("Phone", "", "222", "333"), "\n     Phone           222    \n\n"},
        {contactNamed("Pager", "", "", "333"), "\n     Pager           333    \n\n"},
    };
    for (const TooltipCase& c : cases) {
        store.addAll({c.contact});
    }
    window.show();
    for (const TooltipCase& c : cases) {
        SCOPED_TRACE(c.contact.name.toStdString());
        QTreeWidgetItem* row = item(c.contact.name);
        ASSERT_TRUE(row);
        QTest::mouseMove(window.tree()->viewport(), window.tree()->visualItemRect(row).center());
        EXPECT_TRUE(window.tooltip().isVisible());
        EXPECT_EQ(window.tooltip().title(), c.contact.name);
        EXPECT_EQ(window.tooltip().body(), c.body);
    }
    EXPECT_EQ(window.tooltip().style().background, QColor(220, 220, 220));
    EXPECT_EQ(window.tooltip().style().maxWidth, 200);
    EXPECT_EQ(window.tooltip().style().duration, std::chrono::milliseconds(3000));
}

TEST_F(CContactTest, TheOptionsMenuFollowsTheSelection)
{
    fill({contactNamed("Ann", "1")});
    EXPECT_TRUE(menuEntry("Add New Contact...")->isEnabled());
    EXPECT_FALSE(menuEntry("Call")->isEnabled());
    EXPECT_FALSE(menuEntry("Edit...")->isEnabled());
    EXPECT_FALSE(menuEntry("Delete")->isEnabled());
    click(item("Ann"));
    EXPECT_FALSE(menuEntry("Add New Contact...")->isEnabled());
    EXPECT_TRUE(menuEntry("Call")->isEnabled());
    EXPECT_TRUE(menuEntry("Edit...")->isEnabled());
    EXPECT_TRUE(menuEntry("Delete")->isEnabled());
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(5, window.height() - 5));
    EXPECT_EQ(window.model().selectedSlot(), std::nullopt) << "a click beside the tree";
    click(item("Ann"));
    window.tree()->clearSelection();
    QTest::mouseClick(window.tree()->viewport(), Qt::LeftButton, {},
                      QPoint(5, window.tree()->viewport()->height() - 5));
    EXPECT_EQ(window.model().selectedSlot(), 0) << "a click on the tree selects the first item";
}

TEST_F(CContactTest, TheDeleteKeyAsksAndRemoves)
{
    fill({contactNamed("Ann", "1"), contactNamed("Ben", "2")});
    window.show();
    window.tree()->setFocus();
    QTest::keyClick(window.tree(), Qt::Key_Delete);
    EXPECT_EQ(messages, std::vector<QString>{"No Item Selected, First Select an Item"});
    click(item("Ben"));
    answer = false;
    QTest::keyClick(window.tree(), Qt::Key_Delete);
    EXPECT_EQ(messages.back(), "Do you really want to delete 'Ben' from Contact list ?");
    EXPECT_EQ(treeNames().size(), 2);
    answer = true;
    QTest::keyClick(window.tree(), Qt::Key_Delete);
    EXPECT_EQ(treeNames(), QStringList{"Ann"});
    EXPECT_TRUE(item("Ann")->isSelected());
}

TEST_F(CContactTest, ADoubleClickCallsAndHidesTheWindow)
{
    fill({contactNamed("Ann", "", "", "333")});
    window.show();
    dialer.allowed = false;
    doubleClick(item("Ann"));
    EXPECT_EQ(messages, std::vector<QString>{"You are not Registered"});
    dialer.allowed = true;
    dialer.lineInUse = true;
    menuEntry("Call")->trigger();
    EXPECT_EQ(messages.back(), "Multiple calls are not allowed in the application");
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(dialer.dials.empty());
    dialer.lineInUse = false;
    doubleClick(item("Ann"));
    EXPECT_EQ(dialer.dials, (std::vector<FakeDialer::Dial>{{"333", "Ann"}}));
    EXPECT_FALSE(window.isVisible());
}

struct EditorCase {
    const char* name;
    QString typedName;
    QString mobile;
    QString email;
    QString message;
    bool nameFocused;
};

TEST_F(CContactTest, TheEditorShowsTheFirstFailedCheckAndStaysOpen)
{
    const EditorCase cases[] = {
        {"blank", "", "", "", "Username and Contact number can not be left blank", true},
        {"letters in the mobile", "Ann", "12a", "", "Mobile number should be numeric", true},
        {"no dot after the @", "Ann", "12", "ann@example", "Email address not valid", true},
        {"long name", QString(26, QChar('n')), "12", "",
         "Contact name can take only 25 characters ", false},
    };
    window.show();
    for (const EditorCase& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        bool stayedOpen = false;
        bool nameFocused = false;
        typeIntoEditor([&](CContactProperties& editor) {
            editor.show();
            editor.field("Nick Name")->setFocus();
            editor.field("Name")->setText(c.typedName);
            editor.field("Mobile")->setText(c.mobile);
            editor.field("Email")->setText(c.email);
            QTest::mouseClick(editor.okButton(), Qt::LeftButton);
            stayedOpen = editor.result() != QDialog::Accepted;
            nameFocused = editor.focusWidget() == editor.field("Name");
        });
        menuEntry("Add New Contact...")->trigger();
        EXPECT_EQ(messages, std::vector<QString>{c.message});
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(nameFocused, c.nameFocused);
        EXPECT_TRUE(store.book().isEmpty());
    }
}

TEST_F(CContactTest, TheEditorAddsAndEditsWithTheAddressType)
{
    window.show();
    typeIntoEditor([](CContactProperties& editor) {
        EXPECT_EQ(editor.windowTitle(), "Contact");
        EXPECT_TRUE(editor.homeButton()->isChecked());
        editor.field("Name")->setText("   ");
        editor.field("Phone")->setText("+4412");
        editor.officeButton()->setChecked(true);
        QTest::mouseClick(editor.okButton(), Qt::LeftButton);
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    });
    menuEntry("Add New Contact...")->trigger();
    ASSERT_EQ(store.book().size(), 1);
    EXPECT_EQ(store.book().at(0).name, "<No Name>");
    EXPECT_EQ(store.book().at(0).addressType, "OA");
    EXPECT_EQ(treeNames(), QStringList{"<No Name>"});

    click(item("<No Name>"));
    typeIntoEditor([](CContactProperties& editor) {
        EXPECT_EQ(editor.field("Phone")->text(), "+4412");
        EXPECT_TRUE(editor.officeButton()->isChecked());
        editor.field("Name")->setText("Zed");
        editor.homeButton()->setChecked(true);
        QTest::mouseClick(editor.cancelButton(), Qt::LeftButton);
    });
    menuEntry("Edit...")->trigger();
    EXPECT_EQ(store.book().at(0).name, "<No Name>") << "cancel changes nothing";
    typeIntoEditor([](CContactProperties& editor) {
        editor.field("Name")->setText("Zed");
        editor.homeButton()->setChecked(true);
        QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    });
    menuEntry("Edit...")->trigger();
    EXPECT_EQ(store.book().at(0).name, "Zed");
    EXPECT_EQ(store.book().at(0).addressType, "HA");
    EXPECT_EQ(treeNames(), QStringList{"Zed"});
    EXPECT_TRUE(messages.empty());
}

TEST_F(CContactTest, ImportAndExportRunFromTheMenuAndSaySoWhenDone)
{
    fill({contactNamed("Ann", "1")});
    const std::filesystem::path exported = temp_ / "book.csv";
    window.setExportChooser([&](QWidget*) {
        return std::optional<CContact::ExportChoice>(
            {QString::fromStdString(exported.string()), ContactFileFormat::Csv});
    });
    menuEntry("Export Contacts...")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, 10000));
    EXPECT_EQ(messages, std::vector<QString>{"1 contact exported"});

    const std::filesystem::path imported = temp_ / "in.vcf";
    std::ofstream(imported) << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ben\r\nTEL:2\r\nEND:VCARD\r\n"
                            << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cy\r\nEND:VCARD\r\n";
    window.setImportChooser([&](QWidget*) {
        return std::optional<QString>(QString::fromStdString(imported.string()));
    });
    menuEntry("Import Contacts...")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.size() == 2; }, 10000));
    EXPECT_EQ(messages.back(), "1 contact imported, 1 skipped\n"
                               "Card 2: Username and Contact number can not be left blank");
    EXPECT_EQ(treeNames(), (QStringList{"Ann", "Ben"}));
}

TEST_F(CContactTest, EscapeAndEnterDoNothingAndCloseHides)
{
    window.show();
    QSignalSpy closed(&window, &SidePanel::closed);
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.closeButton()->toolTip(), "Close");
    EXPECT_EQ(window.optionsButton()->toolTip(), "Options");
    QTest::mouseClick(window.closeButton(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closed.size(), 1);
    EXPECT_EQ(window.size(), SidePanel::kSize);
}

}
