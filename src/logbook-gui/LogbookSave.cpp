#include "LogbookSave.h"

#include "core/RuntimeError.h"
#include "export/BatchSave.h"
#include "export/OutputFormat.h"
#include "export/SaveCommand.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookSource.h"
#include "store/DateText.h"
#include "store/SyncComponent.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <set>

namespace vexa {

namespace {

const QString Program = QStringLiteral("VEXA Logbook");
// Past this many, the summary counts files and logs rather than naming them.
constexpr qsizetype MostNamed = 20;

// "log 4 (LTrims, 2005-01-01 08:00:00)"
QString logName(const LogbookEntry &log)
{
    return QStringLiteral("log %1 (%2, %3)")
        .arg(log.id)
        .arg(QLatin1String(logKindInfo(log.kind).caption), QString(log.start).replace(u'T', u' '));
}

void appendNamed(QStringList &summary, const QString &heading, const QStringList &named)
{
    if (named.isEmpty())
        return;
    summary << heading;
    for (qsizetype i = 0; i < named.size() && i < MostNamed; ++i)
        summary << QStringLiteral("  ") + named[i];
    if (named.size() > MostNamed)
        summary << QStringLiteral("  ... and %1 more").arg(named.size() - MostNamed);
}

struct SaveRun {
    const Logbook &logbook;
    vexasync::ByteUtility &bytes;
    UserInterface &ui;
    CommandHost &host;
    DateText dates; // as vexa-logbook export writes them

    BatchSave::Reporting reporting()
    {
        return {[this](const QString &line) { host.setStatus(line); }, host, ui};
    }
    void saveOne(const LogbookEntry &log);
    void saveSeveral(const std::vector<LogbookEntry> &logs, const QStringList &missing);
};

void SaveRun::saveOne(const LogbookEntry &log)
{
    LogbookSource source(logbook, bytes, {}, {log.id});
    const std::vector<SourceLog> listed = source.logs(log.kind);
    if (listed.empty() || !listed.front().entry)
        throw RuntimeError(ErrorNumber::InvalidCall, listed.empty()
                                                         ? QStringLiteral("No log %1").arg(log.id)
                                                         : listed.front().unreadable);
    QList<const OutputFormat *> fitting;
    QList<FileFilter> filters;
    for (const OutputFormat &format : outputFormats())
        if (format.fits(log.kind)) {
            fitting << &format;
            filters << format.anyLogFilter();
        }
    const QString suggested =
        multiLogFileName(withTrailingSeparator(QDir::toNativeSeparators(QDir::homePath())),
                         log.kind, *listed.front().entry, fitting.front()->extension());
    const SaveFileChoice choice =
        ui.chooseSaveFile(QStringLiteral("Save log as..."), filters, suggested);
    if (choice.path.isEmpty())
        return;
    const OutputFormat &format = *fitting.value(choice.filterIndex - 1, fitting.front());
    const QString path = withFormatExtension(choice.path, format.code);
    const QFileInfo file(path);
    // The dialog asked about the name it saw, not the one with the extension.
    if (file.exists() && !ui.ask(overwriteQuestion(file.fileName())))
        return;
    BatchSave save(Program, format, file.absolutePath(), BatchSave::Existing::Overwrite, dates,
                   reporting());
    save.saveAs(source, bytes, log.kind, listed.front(), {log.id, 0}, path);
    const LogOutcome &outcome = save.outcome().logs.front();
    if (outcome.done) {
        host.showStatusNow(QStringLiteral("Log %1 saved as %2").arg(log.id).arg(path));
        return;
    }
    host.showStatusNow(QStringLiteral("Log %1 was not saved").arg(log.id));
    ui.inform(QStringLiteral("Log %1 was not saved as %2:\n%3")
                  .arg(log.id)
                  .arg(QDir::toNativeSeparators(path), outcome.detail));
}

void SaveRun::saveSeveral(const std::vector<LogbookEntry> &logs, const QStringList &missing)
{
    const QString folder = ui.chooseFolder(QStringLiteral("Save logs in"));
    if (folder.isEmpty())
        return;
    QList<FormatOffer> offers;
    for (const OutputFormat &format : outputFormats())
        offers << FormatOffer{format.code, format.anyLogFilter().description};
    const FormatChoice choice = ui.chooseFormat(QStringLiteral("Save logs as"), offers);
    const OutputFormat *format = findOutputFormat(choice.format);
    if (!format)
        return;
    if (!QFileInfo(folder).isDir())
        throw RuntimeError(
            ErrorNumber::PathNotFound,
            QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(folder)));

    std::vector<std::int64_t> fitting;
    QStringList unfit;
    for (const LogbookEntry &log : logs)
        if (format->fits(log.kind))
            fitting.push_back(log.id);
        else
            unfit << logName(log);
    BatchSave save(Program, *format, folder,
                   choice.replaceExisting ? BatchSave::Existing::Overwrite
                                          : BatchSave::Existing::Skip,
                   dates, reporting());
    // An empty list would be every log of the logbook.
    for (int k = 0; k < 4 && !fitting.empty() && !save.cancelled(); ++k) {
        const LogKind kind = LogKind(k);
        if (!format->fits(kind))
            continue;
        LogbookSource source(logbook, bytes, {}, fitting);
        const std::vector<SourceLog> listed = source.logs(kind);
        std::vector<BatchLog> chosen;
        for (std::size_t p = 0; p < listed.size(); ++p)
            chosen.push_back({source.idAt(p), p});
        save.save(source, bytes, kind, listed, chosen);
    }

    const std::set<std::int64_t> skipped(save.skipped().begin(), save.skipped().end());
    QStringList written, existing, failed;
    for (const LogOutcome &log : save.outcome().logs) {
        const QString file = QFileInfo(log.detail).fileName();
        if (!log.done)
            failed << QStringLiteral("log %1: %2").arg(log.log).arg(log.detail);
        else if (skipped.count(log.log))
            existing << QStringLiteral("log %1: %2").arg(log.log).arg(file);
        else
            written << QStringLiteral("log %1: %2").arg(log.log).arg(file);
    }
    QStringList summary{QStringLiteral("%1 of %2 logs saved as %3 in %4")
                            .arg(written.size())
                            .arg(static_cast<qsizetype>(logs.size()) + missing.size())
                            .arg(format->code, QDir::toNativeSeparators(folder))};
    appendNamed(summary, QStringLiteral("Written:"), written);
    appendNamed(summary, QStringLiteral("Skipped, the file exists:"), existing);
    appendNamed(summary,
                QStringLiteral("Not saved, %1 files are for Rirod logs only:").arg(format->code),
                unfit);
    appendNamed(summary, QStringLiteral("Not saved:"), failed);
    appendNamed(summary, QStringLiteral("No longer in the logbook:"), missing);
    if (save.cancelled())
        summary << QStringLiteral("Cancelled: the logs after the last one written were not saved.");
    // The progress's last words would stand under the box otherwise.
    host.showStatusNow(summary.front());
    ui.inform(summary.join(u'\n'));
}

} // namespace

QString withFormatExtension(const QString &path, const QString &formatCode)
{
    static const QRegularExpression extension(QStringLiteral("\\.[A-Za-z][A-Za-z0-9]{0,4}$"));
    return extension.match(QFileInfo(path).fileName()).hasMatch()
               ? path
               : path + QLatin1Char('.') + formatCode.toLower();
}

void saveLogbookLogs(const QString &logbookPath, const std::vector<std::int64_t> &ids,
                     UserInterface &ui, CommandHost &host)
{
    if (ids.empty())
        return;
    host.clearCancelRequest();
    host.setCancelShown(true);
    try {
        const Logbook logbook(logbookPath, Logbook::Access::ReadOnly);
        std::vector<LogbookEntry> logs;
        QStringList missing;
        for (const std::int64_t id : std::set<std::int64_t>(ids.begin(), ids.end())) {
            try {
                logs.push_back(logbook.log(id));
            } catch (const RuntimeError &) {
                missing << QStringLiteral("log %1").arg(id); // purged meanwhile
            }
        }
        const SyncComponent sync;
        const auto bytes = sync.createByteUtility();
        SaveRun run{logbook, *bytes, ui, host, DateText()};
        if (logs.empty())
            ui.inform(QStringLiteral("The logbook no longer holds %1.")
                          .arg(missing.join(QStringLiteral(", "))));
        else if (logs.size() == 1 && missing.isEmpty())
            run.saveOne(logs.front());
        else
            run.saveSeveral(logs, missing);
    } catch (...) {
        host.showStatusNow(QStringLiteral("The logs could not be saved."));
        ui.inform(errorBoxText(QStringLiteral("The logs could not be saved."), currentError()));
    }
    host.setCancelShown(false);
}

} // namespace vexa
