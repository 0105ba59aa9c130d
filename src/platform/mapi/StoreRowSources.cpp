#include "platform/mapi/StoreRowSources.h"

#include "platform/mapi/ObjectIdentity.h"

#include <algorithm>

namespace mapisvc
{
namespace
{
class ContentsRows : public RowSource
{
public:
    ContentsRows(std::shared_ptr<StoreDatabase> store, int64_t folder) : m_store(std::move(store)), m_folder(folder) {}
    ~ContentsRows() override { m_store->EndPage(this); }

    HRESULT Scan(int64_t afterKey, size_t limit, const std::vector<ULONG>* wanted, std::vector<TableRow>& rows) override
    {
        std::vector<ObjectRecord> messages;
        if (HRESULT hr = m_store->ScanMessages(m_folder, std::max<int64_t>(afterKey, 0), limit, wanted, messages))
            return hr;
        AppendRows(std::move(messages), wanted, rows);
        return S_OK;
    }

    HRESULT ScanToOpen(int64_t afterKey, size_t limit, const std::vector<ULONG>* wanted,
                       std::vector<TableRow>& rows) override
    {
        std::vector<ObjectRecord> messages;
        if (HRESULT hr = m_store->ScanPage(this, m_folder, std::max<int64_t>(afterKey, 0), limit, wanted, messages))
            return hr;
        AppendRows(std::move(messages), wanted, rows);
        return S_OK;
    }

    HRESULT Fetch(const std::vector<int64_t>& keys, const std::vector<ULONG>* wanted,
                  std::vector<TableRow>& rows) override
    {
        for (int64_t key : keys)
        {
            ObjectRecord message;
            HRESULT hr = m_store->LoadObject(key, message, wanted);
            if (hr == MAPI_E_NOT_FOUND || (hr == S_OK && (message.type != MAPI_MESSAGE || message.parent != m_folder)))
                continue;
            if (hr)
                return hr;
            rows.push_back(RowOf(std::move(message), wanted));
        }
        return S_OK;
    }

    HRESULT Count(ULONG& count) override { return m_store->CountMessages(m_folder, count); }

    std::shared_ptr<void> BeginBatch() override { return std::make_shared<StoreDatabase::ReadBatch>(*m_store); }

    std::vector<ULONG> DefaultColumns() const override
    {
        return {PR_INSTANCE_KEY,  PR_ENTRYID,      PR_MESSAGE_CLASS, PR_SUBJECT,
                PR_MESSAGE_FLAGS, PR_MESSAGE_SIZE, PR_HASATTACH,     PR_LAST_MODIFICATION_TIME};
    }

    HRESULT SubObjects(int64_t key, ULONG ulSubObject, std::vector<PropertyBag>& objects) override
    {
        std::vector<SubRecord> records;
        HRESULT hr = MAPI_E_TOO_COMPLEX;
        if (ulSubObject == PR_MESSAGE_RECIPIENTS)
            hr = m_store->LoadRecipients(key, records);
        else if (ulSubObject == PR_MESSAGE_ATTACHMENTS)
            hr = m_store->LoadAttachments(key, records);
        for (SubRecord& record : records)
            objects.push_back(std::move(record.props));
        return hr;
    }

private:
    void AppendRows(std::vector<ObjectRecord> messages, const std::vector<ULONG>* wanted,
                    std::vector<TableRow>& rows) const
    {
        for (ObjectRecord& message : messages)
            rows.push_back(RowOf(std::move(message), wanted));
    }

    TableRow RowOf(ObjectRecord message, const std::vector<ULONG>* wanted) const
    {
        TableRow row{message.id, std::move(message.props)};
        AddIdentityProps({m_store.get(), MAPI_MESSAGE, message.id, message.parent}, row.props, wanted);
        return row;
    }

    std::shared_ptr<StoreDatabase> m_store;
    int64_t m_folder;
};
} // namespace

std::unique_ptr<RowSource> MakeContentsRows(std::shared_ptr<StoreDatabase> store, int64_t folder)
{
    return std::unique_ptr<RowSource>(new ContentsRows(std::move(store), folder));
}
} // namespace mapisvc
