// vexa-export: lists the logs of the docked handheld and saves them to files
// without a window, named as the save command names several logs.
#include "core/ProgramInfo.h"
#include "core/RuntimeError.h"
#include "deletion/ArchiveSource.h"
#include "export/BatchSave.h"
#include "export/OutputFormat.h"
#include "store/HandheldSource.h"
#include "store/LogSearch.h"
#include "store/SyncComponent.h"
#include "writers/EveryWriter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace vexa {
namespace {

constexpr int UsageFailure = 2;

struct Failure {
    QString message;
    int exitCode = 1;
};

struct Options {
    int tab = 0;
    bool list = false;
    const OutputFormat *format = nullptr;
    QString out;
    bool all = false;
    QList<int> logs; // 1-based positions in the list
    bool force = false;
    bool skipExisting = false;
    QString archive; // logs from this archive of deleted logs, not the handheld
};

// "CSV, TXT or EFI"
QString eitherOf(const QStringList &codes)
{
    if (codes.size() < 2)
        return codes.join(QString());
    return codes.first(codes.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") +
           codes.last();
}

// Empty when the program is only to print its version.
std::optional<Options> parse(const QCoreApplication &app)
{
    QStringList allCodes, everyKind, rirodOnly;
    for (const OutputFormat &format : outputFormats()) {
        allCodes << format.code;
        (format.rirodOnly ? rirodOnly : everyKind) << format.code;
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Lists the saved logs of the docked handheld, or saves them to files named as the\n"
            "program names several saved logs: RirodLog(03.07.2004_14.05.09).CSV and so on.\n\n"
            "  vexa-export [--tab N] --list\n"
            "  vexa-export [--tab N] --format %1 --out DIR (--all | --log N ...)\n"
            "              [--force | --skip-existing]\n"
            "  vexa-export --archive FILE [--tab N] ... (the same, for logs deleted from a "
            "handheld)\n\n"
            "Logs are numbered from 1 in the order of the handheld's index, as --list shows them;\n"
            "a log whose index record can't be read keeps its number and is reported on standard\n"
            "error. A log whose file name another log of the run already has is saved as\n"
            "RirodLog(03.07.2004_14.05.09) (2).CSV and so on. Control characters in a log's text\n"
            "are listed as \\n, \\r, \\t or \\xHH, and a backslash as \\\\. Progress goes to\n"
            "standard error. The exit status is 0 only when every log was listed or written\n"
            "(or, with --skip-existing, its file was there already), 1 after any failure, 2 for\n"
            "a wrong command line.")
            .arg(allCodes.join(QLatin1Char('|'))));
    parser.addHelpOption();
    parser.addOption(versionOption());
    parser.addOptions({
        {"tab", "0 Rirod Logs (default), 1 LTrims, 2 Accel Tests, 3 Trouble Codes.", "N", "0"},
        {"list", "Print one line per log, as the window lists it."},
        {"format",
         QStringLiteral("%1 for every kind; %2 for Rirod logs.")
             .arg(eitherOf(everyKind), eitherOf(rirodOnly)),
         "CODE"},
        {"out", "The folder to write the files into.", "DIR"},
        {"all", "Save every log of the tab."},
        {"log", "Save log N (repeatable).", "N"},
        {"force", "Overwrite files that exist; without it they are left alone."},
        {"skip-existing",
         "Count files that exist as saved and leave them alone, so that a run saves only the "
         "logs not saved yet."},
        {"archive",
         "Read the logs of an archive of deleted logs (deleted-logs.sqlite) instead of the "
         "docked handheld, numbered in the archive's order.",
         "FILE"},
    });
    parser.process(app);
    if (answeredVersion(parser, QCoreApplication::applicationName()))
        return std::nullopt;
    if (!parser.positionalArguments().isEmpty())
        throw Failure{QStringLiteral("unexpected argument '%1' (see --help)")
                          .arg(parser.positionalArguments().first()),
                      UsageFailure};

    Options o;
    bool ok = false;
    o.tab = parser.value("tab").toInt(&ok);
    if (!ok || o.tab < 0 || o.tab > 3)
        throw Failure{QStringLiteral("--tab takes 0, 1, 2 or 3"), UsageFailure};
    o.list = parser.isSet("list");
    o.format = findOutputFormat(parser.value("format").toUpper());
    o.out = parser.value("out");
    o.all = parser.isSet("all");
    o.force = parser.isSet("force");
    o.skipExisting = parser.isSet("skip-existing");
    o.archive = parser.value("archive");
    for (const QString &value : parser.values("log")) {
        const int n = value.toInt(&ok);
        if (!ok || n < 1)
            throw Failure{QStringLiteral("--log takes a log number from 1: '%1'").arg(value),
                          UsageFailure};
        o.logs << n;
    }
    if (o.list)
        return o;
    if (!o.format)
        throw Failure{QStringLiteral("--format takes %1 (see --help)").arg(eitherOf(allCodes)),
                      UsageFailure};
    if (!o.format->fits(logKindOfTab(o.tab)))
        throw Failure{
            QStringLiteral("%1 files are for Rirod logs (tab 0) only").arg(o.format->code),
            UsageFailure};
    if (o.out.isEmpty())
        throw Failure{QStringLiteral("--out names the folder to save into"), UsageFailure};
    if (o.all == !o.logs.isEmpty())
        throw Failure{QStringLiteral("choose the logs with either --all or --log N"), UsageFailure};
    if (o.force && o.skipExisting)
        throw Failure{QStringLiteral("choose either --force or --skip-existing"), UsageFailure};
    return o;
}

void reportUnreadable(int number, const SourceLog &log)
{
    std::fprintf(stderr, "vexa-export: log %d can't be read: %s\n", number,
                 qPrintable(log.unreadable));
}

int listLogs(const std::vector<SourceLog> &logs, const DateText &dates)
{
    int unreadable = 0;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        if (logs[i].entry) {
            std::printf("%s\n", qPrintable(printableLine(listLine(*logs[i].entry, dates))));
        } else {
            reportUnreadable(static_cast<int>(i + 1), logs[i]);
            ++unreadable;
        }
    }
    return unreadable == 0 ? 0 : 1;
}

int saveLogs(const Options &o, LogSource &source, vexasync::ByteUtility &bytes, LogKind kind,
             const std::vector<SourceLog> &logs, const DateText &dates)
{
    QList<int> chosen = o.logs;
    if (o.all)
        for (int n = 1; n <= static_cast<int>(logs.size()); ++n)
            chosen << n;
    for (const int n : chosen)
        if (n > static_cast<int>(logs.size()))
            throw Failure{QStringLiteral("there is no log %1 on tab %2 (it has %3)")
                              .arg(n)
                              .arg(o.tab)
                              .arg(logs.size())};
    if (!QFileInfo(o.out).isDir())
        throw Failure{QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(o.out))};

    std::vector<BatchLog> batch;
    for (const int n : chosen)
        batch.push_back({n, static_cast<std::size_t>(n - 1)});
    BatchSave save(QStringLiteral("vexa-export"), *o.format, o.out,
                   o.skipExisting ? BatchSave::Existing::Skip
                   : o.force      ? BatchSave::Existing::Overwrite
                                  : BatchSave::Existing::LeaveAndFail,
                   dates);
    save.save(source, bytes, kind, logs, batch);
    return save.finish();
}

int run(const QCoreApplication &app)
{
    const std::optional<Options> parsed = parse(app);
    if (!parsed)
        return 0;
    const Options &o = *parsed;
    const SyncComponent sync;
    if (!sync.isLoaded())
        throw Failure{QStringLiteral("can't load the sync component: %1").arg(sync.loadError())};
    if (o.archive.isEmpty() && !sync.createSyncStatus()->inProgress())
        throw Failure{QStringLiteral("no handheld synchronisation is in progress "
                                     "(dock a handheld: vexa-handheld dock USER)")};
    const LogKind kind = logKindOfTab(o.tab);
    const DateText dates;
    const auto bytes = sync.createByteUtility();
    if (!o.archive.isEmpty() && !QFileInfo(o.archive).isFile())
        throw Failure{
            QStringLiteral("%1: no such archive").arg(QDir::toNativeSeparators(o.archive))};
    const std::unique_ptr<LogSource> source =
        o.archive.isEmpty()
            ? std::unique_ptr<LogSource>(std::make_unique<HandheldSource>(sync, *bytes))
            : std::make_unique<ArchiveSource>(o.archive, *bytes);
    const std::vector<SourceLog> logs = source->logs(kind);
    if (o.list)
        return listLogs(logs, dates);
    return saveLogs(o, *source, *bytes, kind, logs, dates);
}

} // namespace
} // namespace vexa

int main(int argc, char *argv[])
{
    vexa::dropQtNoise();
    // Plots are drawn by widgets, and the tool never shows a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vexa-export"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VEXA_VERSION));
    vexa::registerEveryWriter();
    try {
        return vexa::run(app);
    } catch (const vexa::Failure &f) {
        std::fprintf(stderr, "vexa-export: %s\n", qPrintable(f.message));
        return f.exitCode;
    } catch (...) {
        const vexa::RuntimeError error = vexa::currentError();
        std::fprintf(stderr, "vexa-export: %s (error %s)\n", qPrintable(error.description()),
                     qPrintable(vexa::errorNumberText(error.number())));
        return 1;
    }
}
