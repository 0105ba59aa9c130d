// Registered window messages: one number per name for the life of the process, with names compared without
// regard to case, as the Windows atom table compares them.
#include "platform/platform.h"

#include <mutex>
#include <string>
#include <unicode/uchar.h>
#include <unordered_map>

namespace
{
const UINT nFirstRegistered = 0xC000;
const UINT nLastRegistered = 0xFFFF;
const int nMaxNameLength = 255;

class RegisteredMessages
{
public:
    UINT Register(std::u16string strName)
    {
        for (char16_t& ch : strName)
            ch = static_cast<char16_t>(u_toupper(ch));
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_numbers.find(strName);
        if (it != m_numbers.end())
            return it->second;
        if (m_nNext > nLastRegistered)
            return 0;
        m_numbers.emplace(std::move(strName), m_nNext);
        return m_nNext++;
    }

private:
    std::mutex m_mutex;
    std::unordered_map<std::u16string, UINT> m_numbers;
    UINT m_nNext = nFirstRegistered;
};
} // namespace

UINT RegisterWindowMessageW(LPCWSTR lpString)
{
    static RegisteredMessages* pMessages = new RegisteredMessages;
    int nLength = 0;
    while (lpString && lpString[nLength] && nLength <= nMaxNameLength)
        ++nLength;
    if (nLength == 0 || nLength > nMaxNameLength)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const UINT nMessage = pMessages->Register(std::u16string(lpString, static_cast<size_t>(nLength)));
    if (nMessage == 0)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nMessage;
}
