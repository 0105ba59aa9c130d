// Each kind's "show" as a function of the host and the identifier text (whole or a unique tail), printing what
// that command prints; the top-level "show" picks one of them by the item's message class.
#pragma once

#include <string>

namespace cli
{
class Host;

void ShowEmail(Host& host, const std::string& id);
void ShowContact(Host& host, const std::string& id);
void ShowAppointment(Host& host, const std::string& id);
void ShowTask(Host& host, const std::string& id);
void ShowNote(Host& host, const std::string& id);
} // namespace cli
