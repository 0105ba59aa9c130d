#include "session/BatchedRows.h"

namespace mapipim
{
SRow* BatchedRows::Next()
{
    if (m_rows && m_nNext < m_rows->cRows)
        return &m_rows->aRow[m_nNext++];
    m_nNext = 0;
    if (!m_pTable || m_pTable->QueryRows(m_nRowsPerBatch, 0, &m_rows.Receive()) != S_OK || !m_rows ||
        m_rows->cRows == 0)
    {
        m_rows.Reset();
        return nullptr;
    }
    return &m_rows->aRow[m_nNext++];
}
} // namespace mapipim
