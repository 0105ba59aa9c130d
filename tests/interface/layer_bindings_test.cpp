// The values the interface object and the session own and the layers below them read through the platform: the
// host's cancel flag and the time zone's key name are read as they are at that moment, whoever set them.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIInterface.h>

#include "platform/CancelRequest.h"
#include "platform/TimeZoneKeyName.h"
#include "support/AfxPrinters.h"
#include "support/ProcessFlags.h"

#include <gtest/gtest.h>

namespace
{
TEST(LayerBindingsTest, ItemsReadTheCancelFlagTheHostSets)
{
    ProcessFlagsGuard flags;
    for (int nValue : {1, 2, -1, 0})
    {
        CMAPIInterface::m_bCancel = nValue;
        EXPECT_EQ(mapipim::CancelRequest(), nValue);
    }
    CMAPIInterface::SetCancel(TRUE);
    EXPECT_EQ(mapipim::CancelRequest(), 1);
}

TEST(LayerBindingsTest, RecordsReadTheKeyNameTheSessionKeeps)
{
    const CString strSaved = CMAPIEx::m_strTMKeyName;
    CMAPIEx::m_strTMKeyName = _T("Tokyo Standard Time");
    EXPECT_EQ(mapipim::TimeZoneKeyName(), CString(_T("Tokyo Standard Time")));
    EXPECT_EQ(CMAPITimeZone().strKeyName, CString(_T("Tokyo Standard Time")));
    CMAPIEx::m_strTMKeyName = strSaved;
    EXPECT_EQ(mapipim::TimeZoneKeyName(), strSaved);
}
} // namespace
