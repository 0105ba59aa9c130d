// The read-only registry calls over the stand-in's key tree, with Windows' results and size rules.
#include "platform/platform.h"

#include "platform/win32/RegistryHandles.h"

#include <algorithm>
#include <cstring>

using namespace mapipim::win32;

namespace
{
// Rights that would change the registry; the stand-in is read-only, as HKLM is to an ordinary user.
constexpr REGSAM kWriteRights = 0x0002 | 0x0004 | 0x0020 | 0x00010000 | 0x00040000 | 0x00080000;

std::u16string_view TextOf(LPCWSTR text)
{
    return text ? std::u16string_view(text) : std::u16string_view();
}

// Walks a path of names separated by '\'; empty names (a doubled or trailing separator) are skipped.
std::shared_ptr<const RegistryKey> Descend(std::shared_ptr<const RegistryKey> key, std::u16string_view path)
{
    while (key && !path.empty())
    {
        const size_t separator = path.find(u'\\');
        const std::u16string_view name = path.substr(0, separator);
        if (!name.empty())
            key = key->SubKey(name);
        path = separator == path.npos ? std::u16string_view() : path.substr(separator + 1);
    }
    return key;
}
} // namespace

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::shared_ptr<const RegistryKey> key = RegistryHandles::Instance().Find(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    if (samDesired & kWriteRights)
        return ERROR_ACCESS_DENIED;
    key = Descend(std::move(key), TextOf(lpSubKey));
    if (!key)
        return ERROR_FILE_NOT_FOUND;
    *phkResult = RegistryHandles::Instance().Open(std::move(key));
    return ERROR_SUCCESS;
}

LONG RegEnumKeyW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD cchName)
{
    const std::shared_ptr<const RegistryKey> key = RegistryHandles::Instance().Find(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    const std::optional<std::u16string> name = key->SubKeyName(dwIndex);
    if (!name)
        return ERROR_NO_MORE_ITEMS;
    if (!lpName)
        return ERROR_INVALID_PARAMETER;
    if (name->size() + 1 > cchName)
        return ERROR_MORE_DATA;
    std::copy(name->begin(), name->end(), lpName);
    lpName[name->size()] = 0;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData)
{
    const std::shared_ptr<const RegistryKey> key = RegistryHandles::Instance().Find(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    if (lpReserved || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    const std::optional<RegistryValue> value = key->Value(TextOf(lpValueName));
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (lpType)
        *lpType = value->type;
    if (!lpcbData)
        return ERROR_SUCCESS;
    const DWORD size = static_cast<DWORD>(value->data.size());
    const DWORD capacity = *lpcbData;
    *lpcbData = size;
    if (!lpData)
        return ERROR_SUCCESS;
    if (capacity < size)
        return ERROR_MORE_DATA;
    std::memcpy(lpData, value->data.data(), size);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey)
{
    return RegistryHandles::Instance().Close(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
