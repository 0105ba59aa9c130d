// CMAPIInterface: the todo operations, the item operations of every kind applied to tasks.
#include <mapipim/MAPIInterface.h>

#include "interface/ItemOperations.h"
#include "items/MAPITodoItem.h"

namespace
{
const mapipim::ItemKindTexts kTodoTexts = {
    _T("GetTodo"),
    _T("[MAPI] GetTodo - Open failed a folder : %s"),
    _T("[MAPI] GetTodo - Open failed a todo : %s"),
    _T("[MAPI] CreateTodo - Create failed a Todo : %s"),
};

typedef mapipim::ItemOperations<CMAPITodoInfo, CMAPITodoItem> TodoOperations;
} // namespace

BOOL CMAPIInterface::GetTodo(COutlookFolder* pFolder, CArray<CMAPITodoInfo*, CMAPITodoInfo*>& arrTodos, ULONG ulFlags)
{
    return TodoOperations(m_MAPI, m_hMsgWnd, kTodoTexts).List(pFolder, arrTodos, ulFlags);
}

BOOL CMAPIInterface::GetTodo(CMAPITodoInfo* pTodo, ULONG ulFlags)
{
    return TodoOperations(m_MAPI, m_hMsgWnd, kTodoTexts).Read(pTodo, ulFlags);
}

BOOL CMAPIInterface::CreateTodo(COutlookFolder* pFolder, CMAPITodoInfo* pTodo)
{
    return TodoOperations(m_MAPI, m_hMsgWnd, kTodoTexts).Create(pFolder, pTodo);
}

BOOL CMAPIInterface::ModifyTodo(COutlookFolder* pFolder, CMAPITodoInfo* pTodo)
{
    return TodoOperations(m_MAPI, m_hMsgWnd, kTodoTexts).Modify(pFolder, pTodo);
}

BOOL CMAPIInterface::DeleteTodo(COutlookFolder* pFolder, CMAPITodoInfo* pTodo, int bMoveToDeletedItems)
{
    return TodoOperations(m_MAPI, m_hMsgWnd, kTodoTexts).Delete(pFolder, pTodo, bMoveToDeletedItems);
}
