// The fixture of the tests that read imported data files through the interface object: a sample imported as the
// store "Imported", its folders discovered, the records a list fills, deleted with the fixture.
#pragma once

#include <mapipim/mapipim.h>
#include <mapipim/mapisvc.h>

#include "support/DataFileSamples.h"
#include "support/ServiceFixture.h"

#include <memory>
#include <string>

namespace datafiletest
{
template <class Info> class Records
{
public:
    Records() = default;
    ~Records()
    {
        for (INT_PTR i = 0; i < array.GetSize(); ++i)
            delete array[i];
    }
    Records(const Records&) = delete;
    Records& operator=(const Records&) = delete;

    // The record with the subject; fails the test when there is none.
    const Info& Subject(const std::u16string& subject) const
    {
        for (INT_PTR i = 0; i < array.GetSize(); ++i)
            if (std::u16string(array[i]->strSubject.GetString()) == subject)
                return *array[i];
        ADD_FAILURE() << "no record with the subject";
        static const Info none;
        return none;
    }

    CArray<Info*, Info*> array;
};

inline std::u16string Text(const CString& text)
{
    return std::u16string(text.GetString());
}

class ImportedItemsTest : public ServiceTest
{
protected:
    void TearDown() override
    {
        for (INT_PTR i = 0; i < m_stores.GetSize(); ++i)
            delete m_stores[i];
        m_stores.RemoveAll();
        m_top.reset();
        m_mapi.reset();
        CMAPIInterface::SetYield(1);
        ServiceTest::TearDown();
    }

    // Imports a sample as the store "Imported" and discovers every folder of it; false when the sample is absent.
    bool Import(const std::string& sample)
    {
        const auto file = Sample(sample);
        if (!file)
            return false;
        std::u16string profile;
        EXPECT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
        mapisvc::ImportOptions options;
        options.storeName = u"Imported";
        mapisvc::ImportResult result;
        EXPECT_EQ(mapisvc::ImportDataFile(profile, file->string(), options, result), S_OK) << result.reason;
        CMAPIInterface::SetYield(0);
        m_mapi.reset(new CMAPIInterface);
        EXPECT_TRUE(m_mapi->GetStoreFolder(m_stores, 0xFFFF7FFF, _T("Imported")));
        EXPECT_EQ(m_stores.GetSize(), 1);
        return m_stores.GetSize() == 1;
    }

    // The folder with a name, at any depth.
    COutlookFolder* Folder(const std::u16string& name)
    {
        for (INT_PTR i = 0; i < m_stores[0]->arrFolders.GetSize(); ++i)
            if (Text(m_stores[0]->arrFolders[i]->strName) == name)
                return m_stores[0]->arrFolders[i];
        ADD_FAILURE() << "no such folder";
        return nullptr;
    }

    // The folder discovery starts from (the file's top folder), which holds items of its own in some files: a host
    // names it by the parent identifier its first-level folders carry.
    COutlookFolder* TopFolder()
    {
        if (m_stores[0]->arrFolders.GetSize() == 0)
            return nullptr;
        m_top.reset(new COutlookFolder);
        CopySBinary(m_top->sbEntryID, m_stores[0]->arrFolders[0]->sbParentEntryID);
        CopySBinary(m_top->sbStoreEntryID, m_stores[0]->sbEntryID);
        return m_top.get();
    }

    CMAPIInterface& Mapi() { return *m_mapi; }

    // The one e-mail at the top of the file; null (and a failure) when there is not exactly one.
    const CMAPIEmailInfo* OnlyEmailAtTop(Records<CMAPIEmailInfo>& emails)
    {
        EXPECT_TRUE(Mapi().GetEmail(TopFolder(), emails.array, 0x7));
        EXPECT_EQ(emails.array.GetSize(), 1);
        return emails.array.GetSize() == 1 ? emails.array[0] : nullptr;
    }

private:
    std::unique_ptr<CMAPIInterface> m_mapi;
    CArray<COutlookStore*, COutlookStore*> m_stores;
    std::unique_ptr<COutlookFolder> m_top;
};
} // namespace datafiletest
