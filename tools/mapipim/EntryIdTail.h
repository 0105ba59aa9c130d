// Entry identifiers are long (some 98 hexadecimal digits); the user may name an item or folder by the end of its
// identifier instead, as a version-control tool takes a short commit name: at least 8 digits, found among the
// folders and items of every store of the profile, and unique there.
#pragma once

#include <string>
#include <vector>

namespace cli
{
class Host;

const size_t kShortestTail = 8;
// Text of fewer digits than this is a tail; longer text is a whole identifier.
const size_t kLongestTail = 40;

// The whole identifier text a tail names; other text is returned as it is. Throws UsageFailure for a tail of fewer
// than 8 digits and Failure when no identifier, or more than one, ends with the tail.
std::string ExpandEntryIdTail(Host& host, const std::string& text);

// True for text that ExpandEntryIdTail reads as a tail: hexadecimal digits, fewer than kLongestTail.
bool IsEntryIdTail(const std::string& text);

// The identifiers of every folder and item of every store of the profile, the ones a tail is looked up among.
std::vector<std::string> ProfileEntryIds(Host& host);
} // namespace cli
