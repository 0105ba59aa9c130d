// CMAPIInterface: the schedule operations, the item operations of every kind applied to appointments.
#include <mapipim/MAPIInterface.h>

#include "interface/ItemOperations.h"
#include "items/MAPIScheduleItem.h"

namespace
{
const mapipim::ItemKindTexts kScheduleTexts = {
    _T("GetSchedule"),
    _T("[MAPI] GetSchedule - Open failed a folder : %s"),
    _T("[MAPI] GetSchedule - Open failed a schedule : %s"),
    _T("[MAPI] CreateSchedule - Create failed a schedule : %s"),
};

typedef mapipim::ItemOperations<CMAPIScheduleInfo, CMAPIScheduleItem> ScheduleOperations;
} // namespace

BOOL CMAPIInterface::GetSchedule(COutlookFolder* pFolder, CArray<CMAPIScheduleInfo*, CMAPIScheduleInfo*>& arrSchedules,
                                 ULONG ulFlags)
{
    return ScheduleOperations(m_MAPI, m_hMsgWnd, kScheduleTexts).List(pFolder, arrSchedules, ulFlags);
}

BOOL CMAPIInterface::GetSchedule(CMAPIScheduleInfo* pSchedule, ULONG ulFlags)
{
    return ScheduleOperations(m_MAPI, m_hMsgWnd, kScheduleTexts).Read(pSchedule, ulFlags);
}

BOOL CMAPIInterface::CreateSchedule(COutlookFolder* pFolder, CMAPIScheduleInfo* pSchedule)
{
    return ScheduleOperations(m_MAPI, m_hMsgWnd, kScheduleTexts).Create(pFolder, pSchedule);
}

BOOL CMAPIInterface::ModifySchedule(COutlookFolder* pFolder, CMAPIScheduleInfo* pSchedule)
{
    return ScheduleOperations(m_MAPI, m_hMsgWnd, kScheduleTexts).Modify(pFolder, pSchedule);
}

BOOL CMAPIInterface::DeleteSchedule(COutlookFolder* pFolder, CMAPIScheduleInfo* pSchedule, int bMoveToDeletedItems)
{
    return ScheduleOperations(m_MAPI, m_hMsgWnd, kScheduleTexts).Delete(pFolder, pSchedule, bMoveToDeletedItems);
}
