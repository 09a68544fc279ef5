#include "contacts/ContactTexts.h"

namespace orvanta::contact_texts {

namespace {

constexpr int kMaxReasonLines = 20;

QString counted(int count, const char* singular, const char* plural)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? singular : plural));
}

QString skipReason(const SkippedContact& skipped)
{
    switch (skipped.reason) {
    case SkipReason::Unreadable:
        return QStringLiteral("cannot be read");
    case SkipReason::Invalid:
        return checkMessage(skipped.check);
    case SkipReason::FieldTooLong:
        return QStringLiteral("a field is longer than %1 characters").arg(kMaxImportedFieldLength);
    case SkipReason::AlreadyListed:
        return QStringLiteral("already in the contact list");
    case SkipReason::ListFull:
        return notice(ViewNotice::ContactListFull);
    }
    return {};
}

}

QString notice(ViewNotice notice)
{
    switch (notice) {
    case ViewNotice::NoItemSelected:
        return QStringLiteral("No Item Selected, First Select an Item");
    case ViewNotice::MultipleCallsNotAllowed:
        return QStringLiteral("Multiple calls are not allowed in the application");
    case ViewNotice::NotRegistered:
        return QStringLiteral("You are not Registered");
    case ViewNotice::ContactListFull:
        return QStringLiteral("Contact list is full");
    }
    return {};
}

QString checkMessage(ContactCheck check)
{
    switch (check) {
    case ContactCheck::Passed:
        return {};
    case ContactCheck::NameBlank:
    case ContactCheck::NumbersBlank:
        return QStringLiteral("Username and Contact number can not be left blank");
    case ContactCheck::MobileNotNumeric:
        return QStringLiteral("Mobile number should be numeric");
    case ContactCheck::PhoneHasSpecialCharacters:
        return QStringLiteral("Phone number should not contain special characters");
    case ContactCheck::PagerNotNumeric:
        return QStringLiteral("Pager number should be numeric");
    case ContactCheck::FaxNotNumeric:
        return QStringLiteral("Fax should be numeric");
    case ContactCheck::PincodeNotNumeric:
        return QStringLiteral("Pincode should be numeric");
    case ContactCheck::EmailTooLong:
        return QStringLiteral("Email address should be less than 50 characters");
    case ContactCheck::CityTooLong:
        return QStringLiteral("City should be less than 50 characters");
    case ContactCheck::CountryTooLong:
        return QStringLiteral("Country should be less than 50 characters");
    case ContactCheck::EmailInvalid:
        return QStringLiteral("Email address not valid");
    case ContactCheck::NameTooLong:
        return QStringLiteral("Contact name can take only 25 characters ");
    case ContactCheck::NumberTooLong:
        return QStringLiteral("Contact number can take only 25 digits");
    }
    return {};
}

QString deleteQuestion(const QString& name)
{
    return QStringLiteral("Do you really want to delete '") + name +
           QStringLiteral("' from Contact list ?");
}

QString tooltipBody(const ContactTooltip& tooltip)
{
    if (!tooltip.kind) {
        return {};
    }
    QString label;
    switch (*tooltip.kind) {
    case TooltipNumber::Mobile:
        label = QStringLiteral("Mobile");
        break;
    case TooltipNumber::Phone:
        label = QStringLiteral("Phone");
        break;
    case TooltipNumber::Pager:
        label = QStringLiteral("Pager");
        break;
    }
    return QStringLiteral("\n     ") + label + QStringLiteral("           ") + tooltip.number +
           QStringLiteral("    \n\n");
}

QString importSummary(const ImportSummary& summary)
{
    switch (summary.failure) {
    case ImportFailure::None:
        break;
    case ImportFailure::CannotOpen:
        return QStringLiteral("The file cannot be read");
    case ImportFailure::TooLarge:
        return QStringLiteral("The file is too large to import");
    case ImportFailure::NoContacts:
        return QStringLiteral("No contacts found in the file");
    }
    QString text = counted(summary.imported, "contact", "contacts") +
                   QStringLiteral(" imported, %1 skipped").arg(summary.skippedCount());
    const char* entry = summary.format == ContactFileFormat::VCard ? "Card" : "Row";
    int lines = 0;
    int full = 0;
    for (const SkippedContact& skipped : summary.skipped) {
        if (skipped.reason == SkipReason::ListFull) {
            ++full;
        } else if (lines++ < kMaxReasonLines) {
            text += QStringLiteral("\n%1 %2: %3")
                        .arg(QLatin1String(entry))
                        .arg(skipped.position)
                        .arg(skipReason(skipped));
        }
    }
    if (lines > kMaxReasonLines) {
        text += QStringLiteral("\n... and %1 more").arg(lines - kMaxReasonLines);
    }
    if (full > 0) {
        text += QStringLiteral("\n") + counted(full, "contact", "contacts") + QStringLiteral(": ") +
                notice(ViewNotice::ContactListFull);
    }
    if (summary.notRead > 0) {
        text += QStringLiteral("\n%1 past the first %2 of the file were not read")
                    .arg(counted(summary.notRead, "entry", "entries"))
                    .arg(kMaxEntriesPerFile);
    }
    return text;
}

QString exportSummary(ExportResult result, int contacts)
{
    if (result == ExportResult::CannotWrite) {
        return QStringLiteral("The contacts could not be written to the file");
    }
    return counted(contacts, "contact", "contacts") + QStringLiteral(" exported");
}

}
