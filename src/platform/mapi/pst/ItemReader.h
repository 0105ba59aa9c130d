// Reads the objects of a data file into the service's stored form: a folder's or the message store's
// properties, and a message whole (properties, recipients, attachments by value, attached messages at any
// depth as message images). Named properties are mapped into the store's ids; 8-bit strings are read in the
// item's code page (its PR_MESSAGE_CODEPAGE, else the code page of its locale, else the file's) and kept as
// UTF-16. Limits keep a damaged file from asking for more than it can hold.
#pragma once

#include "platform/mapi/MessageImage.h"
#include "platform/mapi/pst/NameMap.h"

#include <string>

namespace mapisvc::pst
{
struct ReadLimits
{
    uint64_t largestValue = 0;  // no value, attachment or message is larger than the file that holds it
    int deepestAttachment = 64; // attached messages nested deeper than this are not read
};

class ItemReader
{
public:
    ItemReader(NameMap& names, UINT fileCodePage, ReadLimits limits)
        : m_names(names), m_fileCodePage(fileCodePage), m_limits(limits)
    {
    }

    // The properties of a folder or of the message store object (their first record set).
    bool ReadProps(libpff_item_t* item, PropertyBag& props, std::string& reason);
    bool ReadMessage(libpff_item_t* message, MessageImage& image, std::string& reason);

    // The code page an item names for its 8-bit strings (0: none), from its first record set.
    static UINT CodePageOfItem(libpff_item_t* item);

    // A value as the file holds it, under the store's property id.
    struct RawValue
    {
        ULONG tag;
        std::string bytes;
    };
    static UINT CodePageOf(const std::vector<RawValue>& values);

private:
    bool ReadRawValues(libpff_item_t* item, int set, std::vector<RawValue>& values, std::string& reason);
    bool ReadEntry(libpff_record_entry_t* entry, std::vector<RawValue>& values, std::string& reason);
    void Decode(const std::vector<RawValue>& values, UINT codePage, PropertyBag& props) const;
    bool ReadMessageAt(libpff_item_t* message, int depth, UINT inheritedCodePage, MessageImage& image,
                       std::string& reason);
    bool ReadRecipients(libpff_item_t* message, UINT codePage, std::vector<SubRecord>& recipients, std::string& reason);
    bool ReadAttachments(libpff_item_t* message, int depth, UINT codePage, std::vector<SubRecord>& attachments,
                         std::string& reason);
    bool ReadAttachedMessage(libpff_item_t* attachment, int depth, UINT codePage, PropertyBag& props,
                             std::string& reason);

    NameMap& m_names;
    UINT m_fileCodePage;
    ReadLimits m_limits;
};
} // namespace mapisvc::pst
