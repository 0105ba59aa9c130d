#include "items/ContactTextFields.h"

#include "platform/trace/Trace.h"

namespace mapipim
{
bool ReadContactTexts(CMAPIItem& item, const ContactTextField* pFields, size_t nCount, CMAPIContactInfo& info)
{
    bool bAllRead = true;
    for (size_t i = 0; i < nCount; ++i)
    {
        const ContactTextField& field = pFields[i];
        if (item.GetPropertyString(field.ulTag, info.*field.pField, field.nSet))
            continue;
        LOGTRACE(_T("[MAPI] Get failed : %s"), field.szName);
        bAllRead = false;
    }
    return bAllRead;
}

void WriteContactTexts(CMAPIItem& item, const ContactTextField* pFields, size_t nCount, const CMAPIContactInfo& info,
                       LPCWSTR szFolderName)
{
    for (size_t i = 0; i < nCount; ++i)
    {
        const ContactTextField& field = pFields[i];
        if (field.bDerived)
            continue;
        const CString& strValue = info.*field.pField;
        if (!item.SetPropertyString(field.ulTag, strValue, field.nSet))
            LOGTRACE(_T("[MAPI] Set failed : %s(%s) - Folder:%s"), strValue, field.szName, szFolderName);
    }
}
} // namespace mapipim
