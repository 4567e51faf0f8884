#include "FiveLogs.h"

#include "deletion/LogbookRestore.h"
#include "export/TextLogWriter.h"
#include "format/IndexRecord.h"
#include "logbook/Logbook.h"

namespace vexa::test {

DeleteRequest listedRequest(vexasync::ByteUtility &bytes, vexasync::RecordAdapter &index,
                            LogKind kind, std::vector<int> lines)
{
    DeleteRequest r{kind, std::move(lines), std::min(index.recordCount(), MaxListedLogs), {}};
    for (int i = 0; i < r.lineCount; ++i)
        r.logs[i] = readIndexEntry(bytes, index.readByIndex(i), kind);
    return r;
}

FiveLogs::FiveLogs(LogKind k, TestHandheld::Mode mode) : f(mode), kind(k)
{
    if (mode == TestHandheld::Mode::Fresh) {
        const int counts[] = {10, 20, 30, 40, 50};
        for (int i = 0; i < 5; ++i)
            addRirodLog(
                f.handheld,
                {{2004, 3, 7 + i, 12, 0, 0}, std::string(1, char('A' + i)), {15, 2, 9}, counts[i]});
        f.handheld.add("TCodeLog", {textLogRecord({2004, 1, 1, 0, 0, 0}, "P0171"),
                                    textLogRecord({2004, 1, 2, 0, 0, 0}, "P0174"),
                                    textLogRecord({2004, 1, 3, 0, 0, 0}, "P0300")});
    }
    index = f.handheld.open(logKindInfo(kind).indexDatabase);
    scans = f.handheld.open("RirodData");
    before = saveEvery();
    f.statuses.clear();
    f.host.resetYields();
}

std::map<QString, QByteArray> FiveLogs::saveEvery()
{
    std::map<QString, QByteArray> files;
    auto db = f.handheld.open(logKindInfo(kind).indexDatabase);
    for (std::int32_t i = 0; i < db->recordCount(); ++i) {
        const LogIndexEntry e = readIndexEntry(*f.bytes, db->readByIndex(i), kind);
        QByteArray &file = files[e.text];
        if (kind != LogKind::Rirod) {
            QBuffer out;
            out.open(QIODevice::WriteOnly);
            writeReportText(out, e, f.dates);
            file = out.data();
            continue;
        }
        for (const Writer w : {Writer::Csv, Writer::Txt, Writer::Efi}) {
            f.write(w, e);
            file += f.written();
        }
    }
    return files;
}

DeleteServices FiveLogs::services(vexasync::RecordAdapter *scanDatabase)
{
    return {f.sync,
            *index,
            scanDatabase ? scanDatabase : scans.get(),
            f.host,
            f.ui,
            logbook,
            f.handheld.user().id};
}

CommandOutcome::Status FiveLogs::deleteLines(std::vector<int> lines,
                                             vexasync::RecordAdapter *scanDatabase)
{
    outcome = deleteSelectedLogs(listedRequest(*f.bytes, *index, kind, std::move(lines)),
                                 services(scanDatabase));
    return outcome.status;
}

std::vector<int> FiveLogs::firstScans()
{
    std::vector<int> first;
    for (std::int32_t i = 0; i < index->recordCount(); ++i)
        first.push_back(
            IndexRecord::parse(*f.bytes, index->readByIndex(i).bytes, kind, i + 1).firstScan());
    return first;
}

QStringList FiveLogs::texts()
{
    QStringList all;
    for (std::int32_t i = 0; i < index->recordCount(); ++i)
        all << readIndexEntry(*f.bytes, index->readByIndex(i), kind).text;
    return all;
}

QStringList FiveLogs::remainingSaveAsBefore()
{
    f.host.clearCancelRequest();
    f.host.pressCancelAtYield = -1;
    QStringList texts;
    for (const auto &[text, file] : saveEvery()) {
        EXPECT_EQ(file, before.at(text)) << "log " << text.toStdString() << " lost its scans";
        texts << text;
    }
    return texts;
}

std::vector<std::int64_t> deletedLogs(const QString &logbookPath)
{
    LogFilter deleted;
    deleted.state = LogState::Deleted;
    std::vector<std::int64_t> ids;
    for (const LogbookEntry &log : Logbook(logbookPath).logs(deleted))
        ids.push_back(log.id);
    return ids;
}

CommandOutcome putBackFromLogbook(const QString &logbookPath, const SyncComponent &sync,
                                  CommandHost &host, std::vector<std::int64_t> ids)
{
    if (ids.empty())
        ids = deletedLogs(logbookPath);
    Logbook logbook(logbookPath);
    return vexa::restoreFromLogbook(logbook, ids, {sync, host});
}

std::int64_t Logbooking::idOf(const QString &text) const
{
    for (const LogbookEntry &log : Logbook(*logbook).logs())
        if (log.text == text)
            return log.id;
    ADD_FAILURE() << "the logbook holds no " << text.toStdString();
    return 0;
}

std::vector<std::int64_t> Logbooking::restoreAll()
{
    std::vector<std::int64_t> restored;
    for (const LogOutcome &o : restore().logs)
        if (o.done)
            restored.push_back(o.log);
    return restored;
}

} // namespace vexa::test
