// CMAPIItem: one open MAPI object (a message, or a folder for CMAPIFolder) with typed property access, its body
// text and categories, and its attachments. Every item kind derives from it.
#pragma once

#include <mapipim/platform.h>

#include <memory>

class CMAPIEx;
class CMAPIFolder;
class CMAPIByteStream;
class CMAPIInfoBase;
namespace mapipim
{
struct StoreFacts;
class PropertyBatch;
} // namespace mapipim

// Set indexes of named properties: which property-set GUID a named-property id belongs to.
enum
{
    MAPIPIM_SET_NONE = 0, // the tag argument is an ordinary property tag
    MAPIPIM_SET_INTERNET_HEADERS = 1,
    MAPIPIM_SET_PUBLIC_STRINGS = 2,
    MAPIPIM_SET_APPOINTMENT = 3,
    MAPIPIM_SET_ADDRESS = 4,
    MAPIPIM_SET_COMMON = 5,
    MAPIPIM_SET_LOG = 6,
    MAPIPIM_SET_MEETING = 7,
    MAPIPIM_SET_TASK = 8,
    MAPIPIM_SET_NOTE = 9,
};

// Attachment filters on the contact-photo flag.
enum
{
    MAPIPIM_ATTACH_ALL = 1,
    MAPIPIM_ATTACH_PHOTO_ONLY = 2,
    MAPIPIM_ATTACH_NO_PHOTO = 3,
};

class MAPIPIM_API CMAPIItem
{
public:
    CMAPIItem();
    virtual ~CMAPIItem();

    CMAPIItem(const CMAPIItem&) = delete;
    CMAPIItem& operator=(const CMAPIItem&) = delete;

    // ---- Lifetime and identity
    virtual BOOL Open(CMAPIEx* pMAPI, SBinary& entryID);
    BOOL Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder);
    virtual void Close();
    virtual BOOL Save(BOOL bClose);

    SBinary* GetEntryID();
    int GetEntryIDString(CString& strEntryID);
    void SetEntryID(SBinary* pEntryID);
    LONG GetMessageFlags();

    // ---- Raw and named access (MAPI status codes; the caller frees returned buffers with MAPIFreeBuffer)
    HRESULT GetProperty(ULONG ulPropTag, LPSPropValue& pProp);
    HRESULT GetNamedPropTag(int nSet, LONG lID, LPSPropTagArray& lppPropTags, ULONG& ulType, BOOL bCreate);
    HRESULT GetNamedProperty(int nSet, LONG lID, LPSPropValue& pProp);
    BOOL GetNamedStringPropTag(LPCWSTR szName, LPSPropTagArray& lppPropTags, ULONG& ulType, BOOL bCreate);
    BOOL GetNamedStringProperty(LPCWSTR szName, LPSPropValue& pProp);
    // On an ANSI-only store the callers pass 8-bit strings in lppszValues.
    BOOL SetNamedStringPropertyMV(LPCWSTR szName, LPWSTR* lppszValues, int nCount, LPSPropValue& pProp, BOOL bCreate);
    BOOL RemoveProperty(ULONG ulPropTag, int nSet = MAPIPIM_SET_NONE);
    BOOL RemoveNamedStringProperty(LPCWSTR szName);

    // ---- Typed access. With a non-zero set index the tag argument is the named property's numeric id.
    BOOL GetPropertyString(ULONG ulPropTag, CString& strValue, int nSet = MAPIPIM_SET_NONE);
    BOOL GetPropertyTime(ULONG ulPropTag, SYSTEMTIME& tm, int nSet = MAPIPIM_SET_NONE, BOOL bLocal = TRUE);
    int GetPropertyBool(ULONG ulPropTag, int nDefault, int nSet = MAPIPIM_SET_NONE);
    LONG GetPropertyLong(ULONG ulPropTag, LONG nDefault, int nSet = MAPIPIM_SET_NONE);
    double GetPropertyDouble(ULONG ulPropTag, double dDefault, int nSet = MAPIPIM_SET_NONE);
    BOOL GetPropertyBinary(ULONG ulPropTag, CMAPIByteStream& stream, int nSet = MAPIPIM_SET_NONE);

    BOOL SetPropertyString(ULONG ulPropTag, LPCWSTR szValue, int nSet = MAPIPIM_SET_NONE);
    BOOL SetPropertyTime(ULONG ulPropTag, const SYSTEMTIME& tm, int nSet = MAPIPIM_SET_NONE);
    BOOL SetPropertyBool(ULONG ulPropTag, unsigned short bValue, int nSet = MAPIPIM_SET_NONE);
    BOOL SetPropertyLong(ULONG ulPropTag, LONG nValue, int nSet = MAPIPIM_SET_NONE);
    BOOL SetPropertyDouble(ULONG ulPropTag, double dValue, int nSet = MAPIPIM_SET_NONE);
    BOOL SetPropertyBinary(ULONG ulPropTag, CMAPIByteStream& stream, int nSet = MAPIPIM_SET_NONE);

    // ---- Body text and categories
    BOOL GetBody(CString& strBody);
    BOOL SetBody(LPCWSTR szBody);
    BOOL GetCategories(CString& strCategories);
    BOOL SetCategories(LPCWSTR szCategories);

    // ---- Attachments (index -1: every attachment that passes the filter)
    int GetAttachmentCount();
    BOOL GetAttachmentCID(CString& strCID, int nIndex);
    BOOL GetAttachmentNames(CString& strNames, int nIndex, int nFilter);
    BOOL SaveAttachment(LPCWSTR szPath, int nIndex, int nFilter);
    BOOL DeleteAttachment(int nIndex, int nFilter);
    BOOL AddAttachment(LPCWSTR szPath, LPCWSTR szDisplayName = NULL, LPCWSTR szFileName = NULL);
    BOOL SaveAttachmentData(IAttach* pAttachment, LPCWSTR szPath);

    // ---- The library's own, not for hosts
    // Whether the object's strings are UTF-16: its own store's support, or the process's string mode when the
    // store could not be asked.
    bool IsUnicodeStore() const;
    // The GetProps flags for the object's strings: MAPI_UNICODE in a store that supports it.
    ULONG GetStringFlags() const;
    // A PT_UNICODE or PT_MV_UNICODE tag in the form the object's store keeps strings.
    ULONG StringTag(ULONG ulUnicodeTag) const;
    const std::shared_ptr<mapipim::StoreFacts>& GetStoreFacts() const
    {
        IdentifyIfPending();
        return m_pStore;
    }
    // Opens the item a folder's contents row names. A row's entry identifier is the item's own and the item lies
    // in the folder's store, so the object need not be asked for either; without the store's facts this is Open.
    BOOL OpenFromRow(CMAPIEx* pMAPI, SBinary& entryID, const std::shared_ptr<mapipim::StoreFacts>& pStore);
    // Opens the object for a read that starts with a batch (GetInfo), leaving its entry identifier and store to be
    // read with that batch, which saves a call per item. Whatever asks for either before identifies the object
    // as Open does.
    BOOL OpenForRead(CMAPIEx* pMAPI, SBinary& entryID);
    bool IsIdentityPending() const { return m_bIdentityPending; }
    // The store an object whose identity is pending most likely lies in: the session's store met last.
    std::shared_ptr<mapipim::StoreFacts> LikelyStore() const;
    // A batch read found the object's entry identifier (null: unreadable) and store.
    void TakeIdentity(const SBinary* pEntryID, std::shared_ptr<mapipim::StoreFacts> pStore);
    IMAPIProp* GetMAPIProp() const { return m_pItem; }
    // While a batch is set, the typed getters answer the properties it holds from it instead of asking MAPI.
    void SetPropertyBatch(const mapipim::PropertyBatch* pBatch) { m_pBatch = pBatch; }
    const mapipim::PropertyBatch* GetPropertyBatch() const { return m_pBatch; }

protected:
    // Opens the object by its entry identifier through the session, this item closed first.
    bool OpenObject(CMAPIEx* pMAPI, SBinary& entryID);
    // Reads the entry identifier and the store's record key of the object just opened, in one call, and finds
    // the facts of its store.
    void IdentifyObject();
    // Identity is a cache of the open object's own properties, so reading it late, from a const accessor, changes
    // nothing a caller sees.
    void IdentifyIfPending() const;
    // The first field every kind's GetInfo reads, right after its batch (which may bring the identifier along): the
    // record's identifier, as text and as bytes. False (with its trace line) when the text cannot be made.
    BOOL ReadEntryIDInto(CMAPIInfoBase& info);
    // The last step of every kind's Create: the new message's class and, when asked, its read flag.
    void StampNewItem(LPCWSTR szMessageClass, CMAPIFolder* pFolder, BOOL bMarkRead);

    CMAPIEx* m_pMAPI;
    IMAPIProp* m_pItem;
    SBinary m_entryID;
    std::shared_ptr<mapipim::StoreFacts> m_pStore;
    const mapipim::PropertyBatch* m_pBatch;
    bool m_bIdentityPending;
};
