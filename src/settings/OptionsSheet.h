#pragma once

#include "settings/CodecPage.h"
#include "settings/GeneralSettings.h"
#include "signin/SipAccounts.h"

#include <optional>
#include <vector>

namespace orvanta {

enum class SheetPage { General, Codec, Network, Account };

// One entry of the options sheet's tree: a page, and for the accounts page
// which of the eight accounts.
struct SheetItem {
    SheetPage page = SheetPage::General;
    int account = 0;  // 1-8 for the accounts page
};

// Every page the sheet offers, in tree order: "General", "Codec",
// "Network", then "Account 1" to "Account 8".
std::vector<SheetItem> sheetItems();

// The account chosen in the tree, if an account is chosen.
std::optional<int> selectedAccount(const std::optional<SheetItem>& selected);

// What the sheet's pages work on; the dialer's core owns all of it.
struct OptionsSheetServices {
    DialerSettings& settings;
    const platform::AutostartEntry& autostart;
    CallLogAdjuster& callLog;
    CodecPriorityEngine& codecEngine;
    const CodecCatalog& codecCatalog;
    const RegistrationStatus& registration;
    SipAccounts& accounts;
    ManualAccountSession& session;
};

}
