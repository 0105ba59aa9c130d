// OpenIMsgOnIStg: the message of an Outlook item file, over a storage opened with StgOpenStorage or made with
// StgCreateDocfile. The message is read whole when it opens (an empty storage gives a new, empty message);
// SaveChanges writes it back whole, names included, and commits the storage unless IMSG_NO_ISTG_COMMIT.
#include "platform/mapi/ImageMessage.h"
#include "platform/mapi/Text.h"
#include "platform/mapi/msg/FileNames.h"
#include "platform/mapi/msg/MessageLayout.h"
#include "platform/mapi/msg/Storage.h"

namespace
{
using namespace mapisvc;
using namespace mapisvc::msg;

void TraceRefused(const std::string& why)
{
    LOGTRACE(_T("[MAPI] OpenIMsgOnIStg - not a message file : %s"), CString(FromUtf8(why).c_str()));
}

// What every level of the message shares: the storage it is saved into and the file's names.
struct FileContext
{
    ComPtr<IStorage> storage;
    FileNames names;
    ULONG flags = 0;
};

HRESULT WriteBack(FileContext& context, const MessageImage& image)
{
    Storage& storage = *AsServiceStorage(context.storage.Get());
    StorageNode written = storage.Node();
    std::string why;
    if (!WriteMessage(image, written, why))
    {
        LOGTRACE(_T("[MAPI] IMessage::SaveChanges - %s"), CString(FromUtf8(why).c_str()));
        return MAPI_E_CALL_FAILED;
    }
    context.names.Save(written);
    storage.Node() = std::move(written);
    storage.Document().dirty = true;
    if (context.flags & IMSG_NO_ISTG_COMMIT)
        return S_OK;
    return context.storage->Commit(STGC_DEFAULT);
}
} // namespace

extern "C" SCODE STDAPICALLTYPE OpenIMsgOnIStg(LPMSGSESS, LPALLOCATEBUFFER, LPALLOCATEMORE, LPFREEBUFFER, LPMALLOC,
                                               LPVOID, LPSTORAGE lpStg, MSGCALLRELEASE* lpfMsgCallRelease,
                                               ULONG ulCallerData, ULONG ulFlags, LPMESSAGE* lppMsg)
{
    ServiceCall call("OpenIMsgOnIStg", nullptr, "OpenIMsgOnIStg");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lppMsg || !lpStg)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppMsg = nullptr;
    Storage* storage = AsServiceStorage(lpStg);
    if (!storage)
        return call.Done(MAPI_E_INTERFACE_NOT_SUPPORTED);
    auto context = std::make_shared<FileContext>();
    context->storage = ComPtr<IStorage>::AddRefed(lpStg);
    context->flags = ulFlags;
    MessageImage image;
    std::string why;
    if (!storage->Node().children.empty())
    {
        if (!ReadMessage(storage->Node(), image, why) || !context->names.Load(storage->Node(), why))
        {
            TraceRefused(why);
            return call.Done(MAPI_E_CORRUPT_DATA);
        }
    }
    FileContext* shared = context.get();
    ImageMessage::Sink sink = [shared](const MessageImage& saved) { return WriteBack(*shared, saved); };
    auto* message = new ImageMessage(std::move(image), &context->names, context, std::move(sink),
                                     storage->Document().writable);
    if (lpfMsgCallRelease)
        message->OnFinalRelease([lpfMsgCallRelease, ulCallerData](IMessage* released) {
            lpfMsgCallRelease(ulCallerData, released);
        });
    *lppMsg = message;
    return call.Done(S_OK);
}
