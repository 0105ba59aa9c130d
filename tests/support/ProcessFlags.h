// The library's process-wide switches (the Unicode mode of CMAPIEx, the cancel flag and the pause of
// CMAPIInterface) outlive a test; this guard puts them back as it found them.
#pragma once

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIInterface.h>

class ProcessFlagsGuard
{
public:
    ProcessFlagsGuard()
        : m_nMAPICode(CMAPIEx::m_nMAPICode), m_bOnlyANSIOnUnicode(CMAPIEx::m_bOnlyANSIOnUnicode),
          m_bCancel(CMAPIInterface::m_bCancel), m_nYield(CMAPIInterface::GetYield())
    {
    }
    ~ProcessFlagsGuard()
    {
        CMAPIEx::m_nMAPICode = m_nMAPICode;
        CMAPIEx::m_bOnlyANSIOnUnicode = m_bOnlyANSIOnUnicode;
        CMAPIInterface::m_bCancel = m_bCancel;
        CMAPIInterface::SetYield(m_nYield);
    }
    ProcessFlagsGuard(const ProcessFlagsGuard&) = delete;
    ProcessFlagsGuard& operator=(const ProcessFlagsGuard&) = delete;

    // The mode the process enters at its first store without Unicode support.
    static void EnterAnsiOnlyMode()
    {
        CMAPIEx::m_nMAPICode = 0;
        CMAPIEx::m_bOnlyANSIOnUnicode = TRUE;
    }

private:
    int m_nMAPICode;
    int m_bOnlyANSIOnUnicode;
    int m_bCancel;
    int m_nYield;
};
