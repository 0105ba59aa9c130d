// The profile operations that reach beyond the profile database: making a profile's stores (their files and
// standard folders), the default profile MAPILogonEx creates when there is none, and deleting a profile whose
// store files are removed once the last session of the process that uses the profile has ended.
#pragma once

#include "platform/mapi/ProfileDatabase.h"

#include <mapipim/mapisvc.h>

namespace mapisvc
{
extern const char16_t kDefaultProfileName[];

// The profiles of the current $MAPIPIM_HOME.
HRESULT OpenProfiles(std::unique_ptr<ProfileDatabase>& profiles);

ULONG DefaultSupportMask(bool unicode);
HRESULT CreateStore(ProfileDatabase& profiles, const std::u16string& profile, const StoreOptions& options,
                    StoreInfo& store);
// CreateStore in two steps, for a store that joins its profile only once it is filled (an import): the file
// with its folders, listed in no profile yet, and then its listing. A failed listing deletes the file.
HRESULT CreateUnlistedStore(ProfileDatabase& profiles, const std::u16string& profile, const StoreOptions& options,
                            StoreInfo& store);
HRESULT ListStore(ProfileDatabase& profiles, const std::u16string& profile, const StoreInfo& store);
HRESULT EnsureDefaultProfile(ProfileDatabase& profiles, std::u16string& name);
HRESULT DeleteProfileWithStores(ProfileDatabase& profiles, const std::u16string& name);

// Sessions of the process on a profile, so that its stores outlive a deletion while they are in use.
void SessionStarted(const std::string& home, const std::u16string& profile);
void SessionEnded(const std::string& home, const std::u16string& profile);
} // namespace mapisvc
