#include "platform/mapi/ProfileTables.h"

#include "platform/mapi/EntryId.h"
#include "platform/mapi/StoreLayout.h"

namespace mapisvc
{
namespace
{
// A new row, its position as PR_INSTANCE_KEY and PR_ROWID.
TableRow& AppendNumberedRow(std::vector<TableRow>& rows)
{
    TableRow& row = AppendRow(rows);
    row.props.Set(PR_ROWID, EncodeLong(static_cast<LONG>(row.key)));
    return row;
}

void AppendStatusRow(std::vector<TableRow>& rows, std::u16string_view name, std::u16string_view provider, ULONG type,
                     ULONG flags)
{
    TableRow& row = AppendNumberedRow(rows);
    row.props.Set(StringProp(PROP_ID(PR_DISPLAY_NAME), name, true));
    row.props.Set(StringProp(PROP_ID(PR_PROVIDER_DISPLAY), provider, true));
    row.props.Set(PR_RESOURCE_TYPE, EncodeLong(static_cast<LONG>(type)));
    row.props.Set(PR_RESOURCE_FLAGS, EncodeLong(static_cast<LONG>(flags)));
    row.props.Set(PR_STATUS_CODE, EncodeLong(STATUS_AVAILABLE));
    row.props.Set(PR_OBJECT_TYPE, EncodeLong(MAPI_STATUS));
}
} // namespace

std::unique_ptr<RowSource> MakeStoresRows(const ProfileInfo& profile)
{
    std::vector<TableRow> rows;
    for (const StoreInfo& store : profile.stores)
    {
        TableRow& row = AppendNumberedRow(rows);
        row.props.Set(StringProp(PROP_ID(PR_DISPLAY_NAME), store.displayName, true));
        row.props.Set(StringProp(PROP_ID(PR_PROVIDER_DISPLAY), store.providerName, true));
        row.props.Set(PR_ENTRYID, Blob(MakeStoreEntryId(store.uid, MAPI_STORE, 0)));
        row.props.Set(PR_RECORD_KEY, std::string(UidBytes(store.uid)));
        row.props.Set(PR_MDB_PROVIDER, std::string(UidBytes(kStoreProviderUid)));
        row.props.Set(PR_DEFAULT_STORE, EncodeBool(store.isDefault));
        row.props.Set(PR_RESOURCE_FLAGS, EncodeLong(store.isDefault ? STATUS_DEFAULT_STORE : 0));
        row.props.Set(PR_OBJECT_TYPE, EncodeLong(MAPI_STORE));
    }
    return std::unique_ptr<RowSource>(
        new MemoryRowSource(std::move(rows), {PR_INSTANCE_KEY, PR_ENTRYID, PR_DISPLAY_NAME, PR_PROVIDER_DISPLAY,
                                              PR_DEFAULT_STORE, PR_RECORD_KEY, PR_RESOURCE_FLAGS, PR_MDB_PROVIDER}));
}

std::unique_ptr<RowSource> MakeStatusRows(const ProfileInfo& profile)
{
    std::vector<TableRow> rows;
    for (const StoreInfo& store : profile.stores)
        AppendStatusRow(rows, store.displayName, store.providerName, MAPI_STORE_PROVIDER,
                        store.isDefault ? STATUS_DEFAULT_STORE : 0);
    AppendStatusRow(rows, u"Address Book", u"MAPI Address Book", MAPI_AB, 0);
    AppendStatusRow(rows, profile.name, u"MAPI Subsystem", MAPI_SUBSYSTEM, 0);
    return std::unique_ptr<RowSource>(
        new MemoryRowSource(std::move(rows), {PR_INSTANCE_KEY, PR_DISPLAY_NAME, PR_PROVIDER_DISPLAY, PR_RESOURCE_TYPE,
                                              PR_RESOURCE_FLAGS, PR_STATUS_CODE, PR_ROWID}));
}
} // namespace mapisvc
