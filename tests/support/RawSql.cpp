#include "RawSql.h"

#include "ChildProcess.h"

#include <stdexcept>

#include <sqlite3.h>

namespace vexa::test {

namespace {

sqlite3 *openAndRun(const QString &file, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    char *message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "no message";
        sqlite3_free(message);
        sqlite3_close(db);
        throw std::runtime_error("SQL failed: " + text);
    }
    return db;
}

} // namespace

void runSql(const QString &file, const QString &sql)
{
    sqlite3_close(openAndRun(file, sql));
}

QStringList querySql(const QString &file, const QString &sql)
{
    QStringList rows;
    const auto collect = [](void *out, int columns, char **values, char **) {
        QStringList row;
        for (int k = 0; k < columns; ++k)
            row << QString::fromUtf8(values[k] ? values[k] : "NULL");
        *static_cast<QStringList *>(out) << row.join(QLatin1Char('|'));
        return 0;
    };
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    char *message = nullptr;
    const int result = sqlite3_exec(db, sql.toUtf8().constData(), collect, &rows, &message);
    const std::string text = message ? message : "no message";
    sqlite3_free(message);
    sqlite3_close(db);
    if (result != SQLITE_OK)
        throw std::runtime_error("SQL failed: " + text);
    return rows;
}

void runSqlAndWaitToBeKilled(const QString &file, const QString &sql)
{
    openAndRun(file, sql);
    signalReadyAndWait();
}

} // namespace vexa::test
