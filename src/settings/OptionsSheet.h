#pragma once

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

}
