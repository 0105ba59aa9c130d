// Store notifications: the advise registrations of one store and the events its saves publish. Each event is
// handed to every registration whose event mask and object it matches, and delivered by NotificationDelivery.
#pragma once

#include "platform/mapi/EntryId.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace mapisvc
{
struct StoreEvent
{
    ULONG eventType = 0; // fnevObjectCreated, fnevObjectModified, ...
    ULONG objectType = 0;
    Bytes entryId;
    Bytes parentId;
    Bytes oldId;
    Bytes oldParentId;
};

// One Advise: it holds a reference to the sink until the last pending delivery after Unadvise is dropped. Once
// Deactivate returns, the sink is never called again: a call in progress on another thread is waited for.
class Subscription
{
public:
    Subscription(ULONG connection, ULONG mask, const ObjectId* filter, IMAPIAdviseSink* sink, const void* owner);
    ~Subscription();
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    bool Wants(const StoreEvent& event) const;
    IMAPIAdviseSink* Sink() const { return m_sink; }
    bool Active() const { return m_active; }
    // Calls the sink's OnNotify unless the subscription has been deactivated.
    void Notify(NOTIFICATION* notification);
    // Ends the subscription, waiting for calls of the sink in progress on other threads (a sink that ends its own
    // subscription from within OnNotify is not waited for).
    void Deactivate();

    const ULONG connection;
    const void* const owner;

private:
    ULONG m_mask;
    bool m_filtered;
    ObjectId m_filter;
    IMAPIAdviseSink* m_sink;
    std::atomic<bool> m_active{true};
    std::mutex m_callMutex;
    std::condition_variable m_callDone;
    std::vector<std::thread::id> m_callers; // threads inside OnNotify
};

// A notification ready for OnNotify: the NOTIFICATION and the identifiers it points to.
class NotificationPacket
{
public:
    explicit NotificationPacket(const StoreEvent& event);
    NotificationPacket(const NotificationPacket&) = delete;
    NotificationPacket& operator=(const NotificationPacket&) = delete;

    NOTIFICATION* Get() { return &m_notification; }

private:
    StoreEvent m_event;
    NOTIFICATION m_notification{};
};

class Notifier
{
public:
    ULONG Advise(const void* owner, ULONG mask, const ObjectId* filter, IMAPIAdviseSink* sink);
    HRESULT Unadvise(const void* owner, ULONG connection);
    void RemoveOwner(const void* owner);
    void Publish(const std::vector<StoreEvent>& events);

private:
    std::mutex m_mutex;
    std::vector<std::shared_ptr<Subscription>> m_subscriptions;
    ULONG m_nextConnection = 1;
};
} // namespace mapisvc
