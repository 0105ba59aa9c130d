// The demo's sample contacts: a handful of plausible people with names in several scripts, addresses, numbers and
// dates; the first carries a picture, the second an attachment.
#pragma once

#include <mapipim/MAPIContactInfo.h>

#include <string>
#include <vector>

namespace cli
{
// The file names are full paths of the picture and of the file to attach.
std::vector<CMAPIContactInfo> SampleContacts(const std::string& picture, const std::string& attachment);

// The text of the sample attachment.
const char* SampleAttachmentText();
} // namespace cli
