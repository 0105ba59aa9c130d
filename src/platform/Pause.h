// The one cooperative pause of the library: after each item, store and stream chunk the library sleeps briefly
// so that a host's user interface thread stays responsive. A host without one turns it off.
#pragma once

namespace mapipim
{
void SetPauseMilliseconds(int nMilliseconds);
int GetPauseMilliseconds();
void Pause();
} // namespace mapipim
