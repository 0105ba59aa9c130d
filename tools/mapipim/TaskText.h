// Tasks for people and in JSON: statuses and priorities by name, one line per task for lists, every field for
// show, and the record as JSON (every field under its own name, the status's name beside its number).
#pragma once

#include "Host.h"

#include <mapipim/MAPITodoInfo.h>

#include <ostream>
#include <string>
#include <vector>

namespace cli
{
// not-started, in-progress, complete, waiting, deferred: the statuses 0 to 4.
const std::vector<std::string>& TaskStatusNames();
// low, normal, high: the priorities 0 to 2.
const std::vector<std::string>& PriorityNames();
// The name of a value in a list of names; the number for any other value.
std::string NameOf(const std::vector<std::string>& names, int value);

Json TaskJson(const CMAPITodoInfo& task);
void WriteTaskLine(std::ostream& out, const CMAPITodoInfo& task);
void WriteTask(std::ostream& out, const CMAPITodoInfo& task);
} // namespace cli
