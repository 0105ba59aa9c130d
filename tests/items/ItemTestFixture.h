// The fixture of the item tests: MAPI initialised, a CMAPIEx logged on to the default profile of a fresh
// MAPIPIM_HOME, the default store's Inbox wrapped in a folder object, and one saved message to open.
#pragma once

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/MAPIItem.h>

#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/ProcessFlags.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <gtest/gtest.h>

// A folder object over a folder the test opened itself; it takes a reference of its own.
class HeldFolder : public CMAPIFolder
{
public:
    explicit HeldFolder(IMAPIFolder* pFolder)
    {
        if (pFolder)
            pFolder->AddRef();
        m_pItem = pFolder;
    }
    IMAPIFolder* Folder() const { return static_cast<IMAPIFolder*>(m_pItem); }
};

// Reaches what an item holds, for checks.
class ItemUnderTest : public CMAPIItem
{
public:
    IMAPIProp* Object() const { return m_pItem; }
    CMAPIEx* Session() const { return m_pMAPI; }
};

class ItemTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ASSERT_TRUE(CMAPIEx::Init());
        ASSERT_TRUE(m_mapi.Login());
        m_store = OpenDefaultStore(m_mapi.GetSession());
        ASSERT_TRUE(m_store);
        UseStore(m_store.Get());
        m_messageID = CreateMessage(m_pInbox->Folder(), u"Stored subject");
        ASSERT_FALSE(m_messageID.empty());
        mapisvc::ClearCallLog();
    }

    void TearDown() override
    {
        m_item.Close();
        delete m_pInbox;
        m_pInbox = nullptr;
        m_store.Reset();
        m_mapi.Logout();
        CMAPIEx::Term();
        ServiceTest::TearDown();
    }

    // Makes the Inbox of this store the folder that new items are created in.
    void UseStore(IMsgStore* pStore)
    {
        delete m_pInbox;
        m_pInbox = new HeldFolder(OpenInbox(pStore).Get());
    }

    SBinary MessageID() { return AsSBinary(m_messageID); }

    BOOL OpenMessage()
    {
        SBinary entryID = MessageID();
        return m_item.Open(&m_mapi, entryID);
    }

    // The message as the test reads it directly through the service.
    Ref<IMessage> RawMessage() { return ::OpenMessage(m_mapi.GetSession(), m_messageID); }

    ProcessFlagsGuard m_flags;
    CMAPIEx m_mapi;
    Ref<IMsgStore> m_store;
    HeldFolder* m_pInbox = nullptr;
    mapisvc::EntryId m_messageID;
    ItemUnderTest m_item;
};
