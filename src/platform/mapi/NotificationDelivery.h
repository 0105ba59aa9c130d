// Delivery of store notifications to advise sinks, in one of two ways:
// - on a notification thread of the service (MAPIInitialize with MAPI_MULTITHREAD_NOTIFICATIONS), or
// - posted to a hidden message window of the thread that initialised MAPI, so that the sink runs on that
//   thread when it dispatches its window messages.
// The control API may choose one of them regardless of how MAPI was initialised.
#pragma once

#include "platform/mapi/Notifier.h"

#include <functional>

namespace mapisvc
{
// The first MAPIInitialize of the process: remembers how it asked for notifications, makes the notification
// thread's holder and the message window of the initialising thread.
void StartNotificationDelivery(ULONG initFlags);
// The last MAPIUninitialize: delivers what the notification thread still holds, then joins the thread and ends
// the window (at its thread's next dispatch when called on another thread); posted notifications not yet
// dispatched, and notifications published afterwards, are dropped. Nothing is stopped when `stillUnused`, asked once
// starts and stops are ordered, says MAPI has been initialised again meanwhile.
void StopNotificationDelivery(const std::function<bool()>& stillUnused);

void DeliverNotification(const std::shared_ptr<Subscription>& subscription,
                         const std::shared_ptr<NotificationPacket>& packet);
} // namespace mapisvc
