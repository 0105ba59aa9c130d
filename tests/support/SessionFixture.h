// SessionTest: ServiceTest with a profile of the test's own making as the default profile, and a CMAPIEx logged on
// to it on first use. Stores and folders are added through the service's control API:
//
//   mapisvc::EntryId store = AddStore(u"Personal Archive");
//   mapisvc::EntryId folder = AddFolder(store, nullptr, u"Projects");
//   ASSERT_TRUE(Session().OpenMessageStore(AsSBinary(store)));
//
// The session is logged out and MAPI uninitialised before the leak check; the process-wide switches of the
// library (Unicode mode, cancel flag, pause) are put back after each test.
#pragma once

#include "support/ProcessFlags.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/OutlookFolder.h>

#include <memory>
#include <string>

class SessionTest : public ServiceTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The test's profile, the default one.
    static const std::u16string& ProfileName();

    // Adds a store to the profile; the first store added is the default one.
    mapisvc::EntryId AddStore(const mapisvc::StoreOptions& options);
    mapisvc::EntryId AddStore(const std::u16string& displayName);
    // An ANSI-only store: no STORE_UNICODE_OK, strings kept 8-bit.
    mapisvc::EntryId AddAnsiStore(const std::u16string& displayName);

    // MAPI initialised and a CMAPIEx logged on to the default profile (made at the first call).
    CMAPIEx& Session();
    // Ends the session and MAPI before the test ends (the fixture does it otherwise).
    void EndSession();

private:
    ProcessFlagsGuard m_flags;
    std::unique_ptr<MapiInit> m_init;
    std::unique_ptr<CMAPIEx> m_mapi;
};

// A folder made through the control API (a null parent: the store's IPM subtree).
mapisvc::EntryId AddFolder(const mapisvc::EntryId& store, const mapisvc::EntryId* parent, const std::u16string& name,
                           const std::u16string& containerClass = u"IPF.Note");

// The host's record of a folder of a store, as discovery would give it.
COutlookFolder FolderRecord(const mapisvc::EntryId& store, const mapisvc::EntryId& folder, LPCWSTR szName);
