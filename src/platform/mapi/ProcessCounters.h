// Counts the service keeps for the whole process apart from the call log, so that they cost nothing worth
// switching off: the calls that found a store busy (a host tells its user why an operation failed while the log
// stays off) and the connections opened to store files and profiles.db (tests tell a kept, shared connection from
// a file opened again).
#pragma once

namespace mapisvc
{
void CountBusyCall();
void CountDatabaseOpen();
} // namespace mapisvc
