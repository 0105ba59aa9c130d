// Address texts of the e-mail record: one address ("name<address>" or a bare address), and lists of them as the
// record's strTo, strCC and strBCC carry them.
#pragma once

#include "platform/platform.h"

#include <vector>

namespace mapipim
{
// Splits one address text. With a "<" before a ">", the name is the text before "<" and the address the text
// between; otherwise the whole text is the address when it holds an at sign after its first character, else the
// name. Both are then trimmed of "," and ";" at either end (blanks are kept).
void ParseEmailAddress(const CString& strText, CString& strName, CString& strEmail);

// "name<address>", or the bare address when the name is empty or the address itself.
CString FormatEmailAddress(const CString& strName, const CString& strEmail);

// The elements of a recipient list. ";" always separates; "," separates only once the element before it holds an
// address (an at sign or a closing ">"), so that a display name with a comma ("Lopez, Maria <maria@example.com>")
// stays whole. Neither separates inside double quotes or angle brackets. Blanks after a separator are dropped;
// empty elements are kept.
std::vector<CString> SplitRecipientList(const CString& strList);
} // namespace mapipim
