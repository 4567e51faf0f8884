// Raw SQL on an SQLite file, as another program or a write cut off would
// leave it: to damage an archive's rows or interrupt a write to it, or to
// read what no class of the program shows.
#pragma once

#include <QStringList>

namespace vexa::test {

// Throws std::runtime_error when the statements fail.
void runSql(const QString &file, const QString &sql);
// The rows a query returns, each its columns joined by '|'.
QStringList querySql(const QString &file, const QString &sql);

// For a child scenario: runs statements that leave a write open, then
// waits to be killed in the middle of it.
[[noreturn]] void runSqlAndWaitToBeKilled(const QString &file, const QString &sql);

} // namespace vexa::test
