#include "support/ItemFixture.h"

#include <mapipim/MAPIInterface.h>

#include <chrono>

#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <algorithm>

AnsiStore AddAnsiStore(IMAPISession* session)
{
    AnsiStore ansi;
    std::u16string profile;
    EXPECT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
    mapisvc::StoreOptions options;
    options.displayName = u"ANSI Folders";
    options.unicode = false;
    mapisvc::EntryId storeId;
    EXPECT_EQ(mapisvc::AddStore(profile, options, &storeId), S_OK);
    ansi.store = OpenStore(session, storeId);
    if (ansi.store)
        ansi.folder = OpenFolderByProp(ansi.store.Get(), PR_IPM_SUBTREE_ENTRYID);
    return ansi;
}

namespace
{
void SetText(std::vector<SPropValue>& values, ULONG ulPropTag, const std::u16string& text)
{
    if (!text.empty())
        values.push_back(UnicodeValue(ulPropTag, text.c_str()));
}

void AddAttachment(IMessage* message, const AttachmentSpec& spec)
{
    Ref<IAttach> attach;
    ULONG num = 0;
    ASSERT_EQ(message->CreateAttach(nullptr, 0, &num, attach.Out()), S_OK);
    std::vector<SPropValue> values = {LongValue(PR_ATTACH_METHOD, ATTACH_BY_VALUE)};
    SetText(values, PR_ATTACH_LONG_FILENAME_W, spec.longFileName);
    SetText(values, PR_ATTACH_FILENAME_W, spec.fileName);
    SetText(values, PR_DISPLAY_NAME_W, spec.displayName);
    SetText(values, PR_ATTACH_CONTENT_ID_W, spec.contentId);
    if (spec.hasPhotoFlag)
        values.push_back(BoolValue(PR_ATTACHMENT_CONTACTPHOTO, spec.photo));
    values.insert(values.end(), spec.extraValues.begin(), spec.extraValues.end());
    ASSERT_EQ(attach->SetProps(static_cast<ULONG>(values.size()), values.data(), nullptr), S_OK);
    Ref<IStream> stream;
    ASSERT_EQ(attach->OpenProperty(PR_ATTACH_DATA_BIN, &IID_IStream, 0, MAPI_CREATE | MAPI_MODIFY, stream.OutUnknown()),
              S_OK);
    ULONG written = 0;
    ASSERT_EQ(stream->Write(spec.data.data(), static_cast<ULONG>(spec.data.size()), &written), S_OK);
    ASSERT_EQ(stream->Commit(0), S_OK);
    stream.Reset();
    ASSERT_EQ(attach->SaveChanges(KEEP_OPEN_READONLY), S_OK);
}
} // namespace

AttachmentSpec NamedAttachment(const std::u16string& longFileName, const std::string& data, bool photo)
{
    AttachmentSpec spec;
    spec.longFileName = longFileName;
    spec.data = data;
    spec.hasPhotoFlag = photo;
    spec.photo = photo;
    return spec;
}

void AddAttachments(IMAPISession* session, const mapisvc::EntryId& message, const std::vector<AttachmentSpec>& specs)
{
    Ref<IMessage> opened = OpenMessage(session, message);
    ASSERT_TRUE(opened);
    for (const AttachmentSpec& spec : specs)
        AddAttachment(opened.Get(), spec);
    ASSERT_EQ(opened->SaveChanges(0), S_OK);
}

size_t CountAttachments(IMAPISession* session, const mapisvc::EntryId& message)
{
    Ref<IMessage> opened = OpenMessage(session, message);
    Ref<IMAPITable> table;
    if (!opened || opened->GetAttachmentTable(0, table.Out()) != S_OK)
        return 0;
    return ReadRows(table.Get(), {PR_ATTACH_NUM}).size();
}

std::string PatternBytes(size_t n, unsigned seed)
{
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed * 13 + i / 251) % 251);
    return bytes;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(file.good()) << path;
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::vector<std::string> ListDirectory(const std::string& path)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(path.c_str()))
    {
        while (const dirent* entry = readdir(dir))
        {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string MakeDirectory(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0777);
    mkdir(path.c_str(), 0777);
    return path;
}

CString WidePath(const std::string& path)
{
    return CString::FromUtf8(path.c_str());
}

CancelWhenCalled::CancelWhenCalled(const char* szMethod, size_t nCalls)
    : m_thread(
          [method = std::string(szMethod), nCalls]
          {
              for (int nPoll = 0; nPoll < 20000; ++nPoll)
              {
                  size_t nSeen = 0;
                  for (const mapisvc::CallRecord& call : mapisvc::GetCallLog())
                      nSeen += call.method == method;
                  if (nSeen >= nCalls)
                      break;
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
              CMAPIInterface::SetCancel(1);
          })
{
}

CancelWhenCalled::~CancelWhenCalled()
{
    m_thread.join();
}

void ItemServiceTest::SetUp()
{
    DefaultStoreTest::SetUp();
    CMAPIInterface::SetYield(0);
    CMAPIInterface::SetCancel(0);
    ASSERT_TRUE(m_mapi.Login());
}

void ItemServiceTest::TearDown()
{
    m_ansi = AnsiStore();
    m_mapi.Logout();
    DefaultStoreTest::TearDown();
}

bool ItemServiceTest::OpenItem(CMAPIItem& item, const mapisvc::EntryId& id)
{
    SBinary entryID = AsSBinary(id);
    return item.Open(&m_mapi, entryID) != FALSE;
}

mapisvc::EntryId ItemServiceTest::NewMessage(IMAPIFolder* folder)
{
    return CreateMessage(folder ? folder : Inbox(), u"Item");
}

mapisvc::EntryId ItemServiceTest::NewAnsiOnlyMessage()
{
    m_ansi = AddAnsiStore(Session());
    ProcessFlagsGuard::EnterAnsiOnlyMode();
    return NewMessage(m_ansi.folder.Get());
}

std::string ItemServiceTest::FilesDir()
{
    return MakeDirectory(Home() + "/files");
}

void OpenItemTest::TearDown()
{
    m_item.Close();
    ItemServiceTest::TearDown();
}

void OpenItemTest::OpenNewItem(const std::vector<AttachmentSpec>& attachments)
{
    m_id = NewMessage();
    if (!attachments.empty())
        AddAttachments(Session(), m_id, attachments);
    ASSERT_TRUE(OpenItem(m_item, m_id));
}

void OpenItemTest::OpenNewAnsiOnlyItem()
{
    m_id = NewAnsiOnlyMessage();
    ASSERT_TRUE(OpenItem(m_item, m_id));
}
