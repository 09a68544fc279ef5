#pragma once

#include "contacts/ContactFile.h"

namespace orvanta {

// Reads every card of a .vcf file (vCard 3.0 or 4.0, several cards per file,
// folded lines): FN (else N), NICKNAME, the first ADR, TEL by type (CELL to
// mobile, PAGER, FAX, any other to phone; the first of each), the first EMAIL.
ContactFileContent readVCards(const QByteArray& bytes);

// Writes one vCard 4.0 per contact.
QByteArray writeVCards(const std::vector<Contact>& contacts);

}
