// CMAPIInterface: the memo operations, the item operations of every kind applied to sticky notes.
#include <mapipim/MAPIInterface.h>

#include "interface/ItemOperations.h"
#include "items/MAPIMemoItem.h"

namespace
{
const mapipim::ItemKindTexts kMemoTexts = {
    _T("GetMemo"),
    _T("[MAPI] GetMemo - Open failed a folder : %s"),
    _T("[MAPI] GetMemo - Open failed a memo : %s"),
    _T("[MAPI] CreateMemo - Create failed a memo : %s"),
};

typedef mapipim::ItemOperations<CMAPIMemoInfo, CMAPIMemoItem> MemoOperations;
} // namespace

BOOL CMAPIInterface::GetMemo(COutlookFolder* pFolder, CArray<CMAPIMemoInfo*, CMAPIMemoInfo*>& arrMemos, ULONG ulFlags)
{
    return MemoOperations(m_MAPI, m_hMsgWnd, kMemoTexts).List(pFolder, arrMemos, ulFlags);
}

BOOL CMAPIInterface::GetMemo(CMAPIMemoInfo* pMemo, ULONG ulFlags)
{
    return MemoOperations(m_MAPI, m_hMsgWnd, kMemoTexts).Read(pMemo, ulFlags);
}

BOOL CMAPIInterface::CreateMemo(COutlookFolder* pFolder, CMAPIMemoInfo* pMemo)
{
    return MemoOperations(m_MAPI, m_hMsgWnd, kMemoTexts).Create(pFolder, pMemo);
}

BOOL CMAPIInterface::ModifyMemo(COutlookFolder* pFolder, CMAPIMemoInfo* pMemo)
{
    return MemoOperations(m_MAPI, m_hMsgWnd, kMemoTexts).Modify(pFolder, pMemo);
}

BOOL CMAPIInterface::DeleteMemo(COutlookFolder* pFolder, CMAPIMemoInfo* pMemo, int bMoveToDeletedItems)
{
    return MemoOperations(m_MAPI, m_hMsgWnd, kMemoTexts).Delete(pFolder, pMemo, bMoveToDeletedItems);
}
