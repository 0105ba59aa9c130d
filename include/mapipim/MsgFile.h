// Outlook item files (.msg): an item of any kind moves between a folder and a file the way Outlook moves it.
// The file is opened with StgOpenStorage (or made with StgCreateDocfile), wrapped with OpenIMsgOnIStg into a
// message, and the item is copied with IMessage::CopyTo, named properties mapped across by name; recipients,
// attachments and attached messages go with it.
//
//   CString strEntryID;
//   if (mapi.ImportItem(pFolder, L"C:\\mail\\offer.msg", strEntryID)) ...   // the new item's identifier (hex)
//   mapi.ExportItem(pEmail->sbEntryID, L"C:\\mail\\copy.msg");              // a Unicode .msg file
//
// Both pause once through the library's pause helper and honour CMAPIInterface::m_bCancel: a cancelled or
// failed import leaves no item in the folder, a cancelled or failed export leaves no file. Each failure writes
// a trace line. The members are declared with the rest of CMAPIInterface (MAPIInterface.h).
#pragma once

#include <mapipim/MAPIInterface.h>

