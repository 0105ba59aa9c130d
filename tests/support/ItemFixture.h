// Fixtures and helpers for tests of item objects (CMAPIItem) against the embedded MAPI service.
//
// ItemServiceTest: DefaultStoreTest with a CMAPIEx logged on to the same default profile, the process-wide switches
// (Unicode mode, cancel flag, pause) put back after each test, and the pause turned off so that tests that move
// megabytes run at full speed. Messages are made through MAPI and opened as items:
//
//   mapisvc::EntryId id = CreateMessage(Inbox(), u"Subject");
//   CMAPIItem item;
//   ASSERT_TRUE(OpenItem(item, id));
//
// AddAttachments writes attachments through MAPI; the file helpers work below the test's own MAPIPIM_HOME.
#pragma once

#include "support/ProcessFlags.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIItem.h>

#include <string>
#include <thread>
#include <vector>

// A store of the default profile without Unicode support, and its IPM subtree to make messages in.
struct AnsiStore
{
    Ref<IMsgStore> store;
    Ref<IMAPIFolder> folder;
};
AnsiStore AddAnsiStore(IMAPISession* session);

// One attachment to add through MAPI. Empty names are not written; the photo flag only when hasPhotoFlag.
struct AttachmentSpec
{
    std::u16string longFileName;
    std::u16string fileName;
    std::u16string displayName;
    std::u16string contentId;
    bool hasPhotoFlag = false;
    bool photo = false;
    std::string data;
    std::vector<SPropValue> extraValues; // written as they are (their pointers must outlive the call)
};
// An attachment with a long file name and these contents, flagged as the contact photo or not.
AttachmentSpec NamedAttachment(const std::u16string& longFileName, const std::string& data, bool photo = false);
// Adds the attachments to the saved message and saves it.
void AddAttachments(IMAPISession* session, const mapisvc::EntryId& message, const std::vector<AttachmentSpec>& specs);

// The number of stored attachments of a message, read through MAPI.
size_t CountAttachments(IMAPISession* session, const mapisvc::EntryId& message);

// n bytes of a pattern that differs at every position within 251 bytes, seeded so that files differ.
std::string PatternBytes(size_t n, unsigned seed = 1);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The names of the entries of a directory, sorted, without "." and "..".
std::vector<std::string> ListDirectory(const std::string& path);
// Makes the directory (and its parents) and returns it.
std::string MakeDirectory(const std::string& path);

// The UTF-16 text of a UTF-8 path, as the library takes paths.
CString WidePath(const std::string& path);

// Sets the host's cancel flag from another thread once the call log shows szMethod called nCalls times, as a
// host does from its window procedure while a long copy runs. The thread ends with the object.
class CancelWhenCalled
{
public:
    CancelWhenCalled(const char* szMethod, size_t nCalls);
    ~CancelWhenCalled();
    CancelWhenCalled(const CancelWhenCalled&) = delete;
    CancelWhenCalled& operator=(const CancelWhenCalled&) = delete;

private:
    std::thread m_thread;
};

class ItemServiceTest : public DefaultStoreTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    bool OpenItem(CMAPIItem& item, const mapisvc::EntryId& id);
    // A saved message in the Inbox, or in the given folder.
    mapisvc::EntryId NewMessage(IMAPIFolder* folder = nullptr);
    // A saved message in a new ANSI-only store (kept in m_ansi), with the process switched to ANSI-only mode.
    mapisvc::EntryId NewAnsiOnlyMessage();
    // A directory below the test's MAPIPIM_HOME for files the test writes and reads.
    std::string FilesDir();

    CMAPIEx m_mapi;
    AnsiStore m_ansi; // released before the session ends

private:
    ProcessFlagsGuard m_flags;
};

// ItemServiceTest with a message of the test's own open as m_item (m_id its identifier), closed before the session
// ends.
class OpenItemTest : public ItemServiceTest
{
protected:
    void TearDown() override;

    // Opens a new message of the Inbox, with these attachments, as m_item.
    void OpenNewItem(const std::vector<AttachmentSpec>& attachments = {});
    // Opens a new message of an ANSI-only store as m_item (see NewAnsiOnlyMessage).
    void OpenNewAnsiOnlyItem();

    CMAPIItem m_item;
    mapisvc::EntryId m_id;
};
