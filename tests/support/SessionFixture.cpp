#include "support/SessionFixture.h"

#include <mapipim/SBinaryUtils.h>

void SessionTest::SetUp()
{
    ServiceTest::SetUp();
    ASSERT_EQ(mapisvc::CreateProfile(ProfileName(), true), S_OK);
}

void SessionTest::TearDown()
{
    EndSession();
    ServiceTest::TearDown();
}

const std::u16string& SessionTest::ProfileName()
{
    static const std::u16string name = u"Test";
    return name;
}

mapisvc::EntryId SessionTest::AddStore(const mapisvc::StoreOptions& options)
{
    mapisvc::EntryId store;
    EXPECT_EQ(mapisvc::AddStore(ProfileName(), options, &store), S_OK);
    return store;
}

mapisvc::EntryId SessionTest::AddStore(const std::u16string& displayName)
{
    mapisvc::StoreOptions options;
    options.displayName = displayName;
    return AddStore(options);
}

mapisvc::EntryId SessionTest::AddAnsiStore(const std::u16string& displayName)
{
    mapisvc::StoreOptions options;
    options.displayName = displayName;
    options.unicode = false;
    return AddStore(options);
}

CMAPIEx& SessionTest::Session()
{
    if (!m_mapi)
    {
        m_init.reset(new MapiInit);
        m_mapi.reset(new CMAPIEx);
        EXPECT_TRUE(m_mapi->Login());
    }
    return *m_mapi;
}

void SessionTest::EndSession()
{
    m_mapi.reset();
    m_init.reset();
}

mapisvc::EntryId AddFolder(const mapisvc::EntryId& store, const mapisvc::EntryId* parent, const std::u16string& name,
                           const std::u16string& containerClass)
{
    mapisvc::EntryId folder;
    EXPECT_EQ(mapisvc::CreateFolder(store, parent, name, containerClass, &folder), S_OK) << "folder";
    return folder;
}

COutlookFolder FolderRecord(const mapisvc::EntryId& store, const mapisvc::EntryId& folder, LPCWSTR szName)
{
    COutlookFolder record;
    SBinary storeID = {static_cast<ULONG>(store.size()), const_cast<BYTE*>(store.data())};
    SBinary folderID = {static_cast<ULONG>(folder.size()), const_cast<BYTE*>(folder.data())};
    CopySBinary(record.sbStoreEntryID, storeID);
    CopySBinary(record.sbEntryID, folderID);
    record.strName = szName;
    return record;
}
