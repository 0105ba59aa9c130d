// The test runs hand Wine its zone through TZ, as an IANA name. The C runtime of a Windows program reads TZ in a
// syntax of its own and would take that name for UTC; on a Windows machine TZ is unset and the C runtime asks
// Windows. The programs clear TZ before any test, so that they see the zone as a Windows machine has it.
#include <cstdlib>
#include <ctime>

namespace
{
const bool bWindowsZone = []
{
    _putenv("TZ=");
    _tzset();
    return true;
}();
} // namespace
