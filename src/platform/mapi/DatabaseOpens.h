// How many connections the process opened to store files and profiles.db: the testing counter that tells a kept,
// shared connection from a file opened again.
#pragma once

namespace mapisvc
{
void CountDatabaseOpen();
} // namespace mapisvc
