// The attachment table of an open message and the walk over it that listing, saving and deleting share.
// Attachments are addressed by their position in the table (from 0, counting every row) and a filter on the
// contact-photo flag; position -1 stands for every attachment that passes the filter.
#pragma once

#include "platform/platform.h"
#include "session/Scoped.h"

#include <functional>

namespace mapipim
{
// Attachment contents move between streams and files in chunks of this size.
const UINT kAttachmentChunkBytes = 1024;

// The open object as a message. A host may name any entry identifier; only a message has attachments.
bool QueryMessage(IMAPIProp* pItem, ScopedInterface<IMessage>& message);

// The value in a row's column when it is of the type of ulPropTag, else null (the column is missing: PT_ERROR).
const SPropValue* FindRowValue(const SRow& row, int nColumn, ULONG ulPropTag);

// A column as a number (PT_LONG, PT_BOOLEAN), or the error code that a missing column holds in its place.
LONG GetRowNumber(const SRow& row, int nColumn);

// A string column as text, in the width its value has (PT_UNICODE or PT_STRING8); empty for anything else.
CString GetRowText(const SRow& row, int nColumn);

class AttachmentTable
{
public:
    // What a walk does with one row: go on, or stop the walk because handling the row failed.
    typedef std::function<bool(const SRow& row)> RowHandler;

    // Opens the table of the item's attachments; false when the item is no message or has no table.
    bool Open(IMAPIProp* pItem);
    bool SetColumns(LPSPropTagArray pColumns);

    IMessage* GetMessage() const { return m_message.Get(); }
    IMAPITable* GetTable() const { return m_table.Get(); }
    // The number of rows; 0 when the table cannot count them.
    int GetRowCount() const;

    // Hands the rows at nIndex (or every row with -1) that pass nFilter to handleRow, one row fetched at a time;
    // nPhotoColumn is the column of PR_ATTACHMENT_CONTACTPHOTO. A row at a single index that the filter rejects
    // ends the walk with nothing done. False when a fetch fails or handleRow stops the walk.
    bool Walk(int nIndex, int nFilter, int nPhotoColumn, const RowHandler& handleRow);

private:
    ScopedInterface<IMessage> m_message;
    ScopedInterface<IMAPITable> m_table;
};
} // namespace mapipim
