#include "platform/mapi/Notifier.h"

#include <algorithm>

#include "platform/mapi/NotificationDelivery.h"

namespace mapisvc
{
namespace
{
LPENTRYID Pointer(Bytes& bytes)
{
    return bytes.empty() ? nullptr : reinterpret_cast<LPENTRYID>(bytes.data());
}

bool SameObject(const Bytes& entryId, const ObjectId& object)
{
    ObjectId other;
    return !entryId.empty() && ParseStoreEntryId(static_cast<ULONG>(entryId.size()), entryId.data(), other) == S_OK &&
           other.SameObject(object);
}
} // namespace

Subscription::Subscription(ULONG connection_, ULONG mask, const ObjectId* filter, IMAPIAdviseSink* sink,
                           const void* owner_)
    : connection(connection_), owner(owner_), m_mask(mask), m_filtered(filter != nullptr), m_sink(sink)
{
    if (filter)
        m_filter = *filter;
    m_sink->AddRef();
}

Subscription::~Subscription()
{
    m_sink->Release();
}

void Subscription::Notify(NOTIFICATION* notification)
{
    const std::thread::id self = std::this_thread::get_id();
    {
        std::lock_guard<std::mutex> lock(m_callMutex);
        if (!m_active)
            return;
        m_callers.push_back(self);
    }
    m_sink->OnNotify(1, notification);
    {
        std::lock_guard<std::mutex> lock(m_callMutex);
        m_callers.erase(std::find(m_callers.begin(), m_callers.end(), self));
    }
    m_callDone.notify_all();
}

void Subscription::Deactivate()
{
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> lock(m_callMutex);
    m_active = false;
    m_callDone.wait(lock, [&] {
        return std::all_of(m_callers.begin(), m_callers.end(), [&](std::thread::id caller) { return caller == self; });
    });
}

bool Subscription::Wants(const StoreEvent& event) const
{
    if (!m_active || !(m_mask & event.eventType))
        return false;
    if (!m_filtered || m_filter.type == MAPI_STORE)
        return true;
    return SameObject(event.entryId, m_filter) || SameObject(event.parentId, m_filter) ||
           SameObject(event.oldParentId, m_filter);
}

NotificationPacket::NotificationPacket(const StoreEvent& event) : m_event(event)
{
    m_notification.ulEventType = m_event.eventType;
    OBJECT_NOTIFICATION& obj = m_notification.info.obj;
    obj.ulObjType = m_event.objectType;
    obj.cbEntryID = static_cast<ULONG>(m_event.entryId.size());
    obj.lpEntryID = Pointer(m_event.entryId);
    obj.cbParentID = static_cast<ULONG>(m_event.parentId.size());
    obj.lpParentID = Pointer(m_event.parentId);
    obj.cbOldID = static_cast<ULONG>(m_event.oldId.size());
    obj.lpOldID = Pointer(m_event.oldId);
    obj.cbOldParentID = static_cast<ULONG>(m_event.oldParentId.size());
    obj.lpOldParentID = Pointer(m_event.oldParentId);
}

ULONG Notifier::Advise(const void* owner, ULONG mask, const ObjectId* filter, IMAPIAdviseSink* sink)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const ULONG connection = m_nextConnection++;
    m_subscriptions.push_back(std::make_shared<Subscription>(connection, mask, filter, sink, owner));
    return connection;
}

HRESULT Notifier::Unadvise(const void* owner, ULONG connection)
{
    std::shared_ptr<Subscription> removed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_subscriptions.begin(); it != m_subscriptions.end(); ++it)
        {
            if ((*it)->connection != connection || (*it)->owner != owner)
                continue;
            removed = *it;
            m_subscriptions.erase(it);
            break;
        }
    }
    if (!removed)
        return MAPI_E_NOT_FOUND;
    removed->Deactivate();
    return S_OK;
}

void Notifier::RemoveOwner(const void* owner)
{
    std::vector<std::shared_ptr<Subscription>> removed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_subscriptions.begin(); it != m_subscriptions.end();)
        {
            if ((*it)->owner == owner)
            {
                removed.push_back(*it);
                it = m_subscriptions.erase(it);
            }
            else
                ++it;
        }
    }
    for (auto& subscription : removed)
        subscription->Deactivate();
}

void Notifier::Publish(const std::vector<StoreEvent>& events)
{
    std::vector<std::shared_ptr<Subscription>> subscriptions;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        subscriptions = m_subscriptions;
    }
    for (const StoreEvent& event : events)
    {
        std::shared_ptr<NotificationPacket> packet;
        for (auto& subscription : subscriptions)
        {
            if (!subscription->Wants(event))
                continue;
            if (!packet)
                packet = std::make_shared<NotificationPacket>(event);
            DeliverNotification(subscription, packet);
        }
    }
}
} // namespace mapisvc
