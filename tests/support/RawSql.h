// Raw SQL on an SQLite file, as another program or a write cut off would
// leave it: to damage an archive's rows or interrupt a write to it.
#pragma once

#include <QString>

namespace vexa::test {

// Throws std::runtime_error when the statements fail.
void runSql(const QString &file, const QString &sql);

// For a child scenario: runs statements that leave a write open, then
// waits to be killed in the middle of it.
[[noreturn]] void runSqlAndWaitToBeKilled(const QString &file, const QString &sql);

} // namespace vexa::test
