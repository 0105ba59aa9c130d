// The outgoing queue of a store: what IMessage::SubmitMessage put there and delivery takes out again.
#include "platform/mapi/StoreDatabase.h"

#include <chrono>

namespace mapisvc
{
namespace
{
constexpr LONG kQueueFlag = MSGFLAG_SUBMIT;

std::string NowAsFileTime()
{
    constexpr int64_t kUnixEpoch = 116444736000000000LL; // 1970-01-01 in 100-ns intervals since 1601
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return EncodeInt64(kUnixEpoch + std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100);
}
} // namespace

HRESULT StoreDatabase::QueuedMessages(std::vector<int64_t>& ids)
{
    auto lock = Lock();
    ids.clear();
    Query query = m_db->Prepare("SELECT id FROM object WHERE type = 5 AND (flags & 4) <> 0 ORDER BY id");
    while (query.Step())
        ids.push_back(query.Int(0));
    return query.Result();
}

HRESULT StoreDatabase::FinishSubmission(int64_t id, int64_t sentFolder)
{
    auto lock = Lock();
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    ObjectRecord record;
    if (HRESULT hr = LoadObject(id, record))
        return hr;
    if (record.type != MAPI_MESSAGE || !(record.flags & kQueueFlag))
        return MAPI_E_NOT_IN_QUEUE;
    if (sentFolder == 0)
    {
        if (HRESULT hr = DeleteMessageRows(id))
            return hr;
        if (HRESULT hr = transaction.Commit())
            return hr;
        Publish(fnevObjectDeleted, MAPI_MESSAGE, id, record.parent);
        return S_OK;
    }
    ObjectRecord folder;
    if (HRESULT hr = LoadObject(sentFolder, folder))
        return hr;
    if (folder.type != MAPI_FOLDER)
        return MAPI_E_INVALID_ENTRYID;
    const LONG flags = (record.flags & ~(kQueueFlag | MSGFLAG_UNSENT)) | MSGFLAG_READ;
    record.props.Set(PR_MESSAGE_FLAGS, EncodeLong(flags));
    if (!record.props.Find(PROP_ID(PR_MESSAGE_DELIVERY_TIME)))
        record.props.Set(PR_MESSAGE_DELIVERY_TIME, NowAsFileTime());
    Query update = m_db->Prepare("UPDATE object SET parent = ?, flags = ?, props = ? WHERE id = ?");
    if (HRESULT hr = update.Bind(1, sentFolder).Bind(2, flags).BindBlob(3, record.props.Serialize()).Bind(4, id).Run())
        return hr;
    if (HRESULT hr = transaction.Commit())
        return hr;
    if (sentFolder != record.parent)
        Publish(fnevObjectMoved, MAPI_MESSAGE, id, sentFolder, id, record.parent);
    Publish(fnevObjectModified, MAPI_MESSAGE, id, sentFolder);
    return S_OK;
}
} // namespace mapisvc
