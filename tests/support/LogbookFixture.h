// A test handheld with logs of all four kinds, twins among them, and a
// logbook of its own in a scratch folder.
#pragma once

#include "ExportFixture.h"

#include "logbook/LogPull.h"
#include "logbook/Logbook.h"

#include <QTemporaryDir>

namespace vexa::test {

struct LogbookFixture {
    // Rirod logs A (10 scans), B (20), A again; LTrim "trim", Accel
    // "accel", trouble code "P0171".
    LogbookFixture();

    QString path() const { return folder.filePath("logbook.sqlite"); }
    PullOutcome pull();
    // Every log's text and state word, in the logbook's order.
    QStringList listed();
    // The words of what happened to the log, in order.
    QStringList history(std::int64_t id);

    ExportFixture f;
    QTemporaryDir folder;
};

} // namespace vexa::test
