#include "ContactReading.h"

#include "EntryId.h"
#include "EntryIdTail.h"
#include "Failure.h"
#include "Text.h"

#include <mapipim/SBinaryUtils.h>

namespace cli
{
void ReadContact(Host& host, const std::string& entryId, CMAPIContactInfo& contact)
{
    const EntryId id = EntryId::Parse(ExpandEntryIdTail(host, entryId));
    CopySBinary(contact.sbEntryID, id.Value());
    contact.strEntryID = WideText(id.Text());
    if (!host.Mapi().GetContact(&contact, kReadAllContactFields))
    {
        Host::CheckCancel();
        throw Failure("no item with the entry identifier " + id.Text());
    }
}

void ListContacts(Host& host, COutlookFolder& folder, const std::string& path, RecordArray<CMAPIContactInfo>& contacts)
{
    CMAPIInterface& mapi = host.Mapi();
    host.Progress().ExpectItems("Reading " + path, mapi.GetRowCount(&folder));
    const BOOL bListed = mapi.GetContact(&folder, contacts.Array(), kReadAllContactFields);
    host.Progress().Done();
    Host::CheckCancel();
    if (!bListed)
        throw Failure("cannot read the folder '" + path + "'");
}
} // namespace cli
