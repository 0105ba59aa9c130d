// Why a store that a command needs is not among those discovery found. Discovery passes over a store it cannot
// open (as the library must, so that one bad store does not hide the others); the user needs to hear which store
// failed and why: its file is damaged or missing, another process holds it, or no store has that name.
#pragma once

#include <mapipim/platform.h>

#include <string>

namespace cli
{
// The one-line reason: storeName empty means the profile's default store. Opens the stores the session's table
// lists, and puts the result of the first one meant into words.
std::string StoreProblem(IMAPISession* pSession, const std::string& storeName);

// Whether the session's stores table names a default store.
bool HasDefaultStore(IMAPISession* pSession);

// The words for the result of opening a store ("the store file of 'Personal Folders' is damaged").
std::string StoreOpenProblem(HRESULT hr, const std::string& name);
} // namespace cli
