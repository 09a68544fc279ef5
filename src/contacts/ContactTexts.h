#pragma once

#include "contacts/ContactChecks.h"
#include "contacts/ContactImport.h"
#include "contacts/ContactsView.h"
#include "contacts/DialRequests.h"

#include <QString>

// The texts the contacts windows show for the core's states.
namespace orvanta::contact_texts {

QString notice(ViewNotice notice);
QString checkMessage(ContactCheck check);
QString deleteQuestion(const QString& name);
// "\n     Mobile           " + number + "    \n\n" and the like.
QString tooltipBody(const ContactTooltip& tooltip);
// "N contacts imported, M skipped", then why.
QString importSummary(const ImportSummary& summary);
QString exportSummary(ExportResult result, int contacts);

inline const QString noResults = QStringLiteral("No results found");
inline const QString editorTitle = QStringLiteral("Contact");

}
