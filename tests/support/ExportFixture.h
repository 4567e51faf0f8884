// Logs put on a test handheld and written by the export core into memory.
#pragma once

#include "LogCase.h"
#include "ScriptedUi.h"

#include "core/UnattendedHost.h"
#include "export/ExportContext.h"
#include "store/LogSearch.h"
#include "store/SyncComponent.h"

#include <QBuffer>

namespace vexa::test {

enum class Writer { Csv, Txt, Efi, Msl, Mlg };

class ExportFixture {
public:
    explicit ExportFixture(TestHandheld::Mode mode = TestHandheld::Mode::Fresh);

    // The index entry of the Rirod log on list line `line`.
    LogIndexEntry entry(int line = 0) const;
    ExportContext context();
    // Runs the writer into `out` (a buffer when none is given), over the
    // handheld's scan records or those given.
    ScanRun write(Writer writer, const LogIndexEntry &entry, QIODevice *out = nullptr,
                  vexasync::RecordAdapter *scans = nullptr);
    QByteArray written() const { return m_buffer.data(); }

    TestHandheld handheld;
    SyncComponent sync;
    std::unique_ptr<vexasync::ByteUtility> bytes;
    UnattendedHost host;
    QStringList statuses; // every status the host was given, in order
    ScriptedUi ui;
    DateText dates;

private:
    std::shared_ptr<vexasync::RecordAdapter> m_scans;
    QBuffer m_buffer;
};

const char *writerName(Writer writer);

} // namespace vexa::test
