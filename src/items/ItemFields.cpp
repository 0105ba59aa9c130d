#include "items/ItemFields.h"

#include <mapipim/TimeConversion.h>

#include "platform/trace/Trace.h"

namespace mapipim
{
namespace
{
const LPCWSTR kDateTimeFormat = _T("%Y-%m-%d %H:%M:%S");
}

void TraceGetFailed(LPCWSTR szField)
{
    LOGTRACE(_T("[MAPI] Get failed : %s"), szField);
}

void TraceSetTextFailed(LPCWSTR szValue, LPCWSTR szField, LPCWSTR szFolder)
{
    LOGTRACE(_T("[MAPI] Set failed : %s(%s) - Folder:%s"), szValue, szField, szFolder);
}

void TraceSetLongFailed(int nValue, LPCWSTR szField, LPCWSTR szFolder)
{
    LOGTRACE(_T("[MAPI] Set failed : %d(%s) - Folder:%s"), nValue, szField, szFolder);
}

void TraceSetTimeFailed(const SYSTEMTIME& tmLocal, LPCWSTR szField, LPCWSTR szFolder)
{
    LOGTRACE(_T("[MAPI] Set failed : %s(%s) - Folder:%s"), COleDateTime(tmLocal).Format(kDateTimeFormat), szField,
             szFolder);
}

void TraceRemoveFailed(LPCWSTR szField, LPCWSTR szFolder)
{
    LOGTRACE(_T("[MAPI] Remove failed : %s - Folder:%s"), szField, szFolder);
}

SYSTEMTIME UTCOfLocalTime(const SYSTEMTIME& tmLocal)
{
    SYSTEMTIME tmLocalCopy = tmLocal;
    SYSTEMTIME tmUTC = {};
    GetLocalTimeToSystemTime(tmLocalCopy, tmUTC, NULL);
    return tmUTC;
}

bool WriteLocalTime(CMAPIItem& item, const PropertyName& property, const SYSTEMTIME& tmLocal)
{
    return item.SetPropertyTime(property.ulTag, UTCOfLocalTime(tmLocal), property.nSet) != FALSE;
}
} // namespace mapipim
