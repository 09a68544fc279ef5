#include "settings/OptionsSheet.h"

#include "signin/SipAccounts.h"

namespace orvanta {

std::vector<SheetItem> sheetItems()
{
    std::vector<SheetItem> items{{SheetPage::General}, {SheetPage::Codec}, {SheetPage::Network}};
    for (int account = 1; account <= kSipAccountCount; ++account) {
        items.push_back({SheetPage::Account, account});
    }
    return items;
}

std::optional<int> selectedAccount(const std::optional<SheetItem>& selected)
{
    if (!selected || selected->page != SheetPage::Account) {
        return std::nullopt;
    }
    return selected->account;
}

}
