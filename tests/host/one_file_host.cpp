// A host in one file, as a host author writes one: it includes the library's headers, defines no INITGUID and
// links only the shared library. It links only if the library exports the interface identifiers, and it checks
// that what it links are the identifiers' own values.
#include <mapipim/mapipim.h>

#include <cstdio>
#include <cstring>

namespace
{
bool Equals(REFIID linked, const GUID& expected, const char* name)
{
    if (memcmp(&linked, &expected, sizeof(GUID)) == 0)
        return true;
    std::fprintf(stderr, "%s has the wrong value\n", name);
    return false;
}
} // namespace

int main()
{
    const GUID stream = {0x0000000c, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    const GUID message = {0x00020307, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    const GUID publicStrings = {0x00020329, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    bool ok = Equals(IID_IStream, stream, "IID_IStream");
    ok = Equals(IID_IMessage, message, "IID_IMessage") && ok;
    ok = Equals(PS_PUBLIC_STRINGS, publicStrings, "PS_PUBLIC_STRINGS") && ok;
    return ok ? 0 : 1;
}
