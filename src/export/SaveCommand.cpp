#include "SaveCommand.h"

#include "LogFile.h"
#include "OutputFormat.h"
#include "core/RuntimeError.h"
#include "store/SyncComponent.h"

#include <QFileInfo>

namespace vexa {

namespace {

struct Destination {
    QString folder; // for one log, the whole file name
    const OutputFormat *format = nullptr;
};

Destination chooseDestination(const SaveSelection &s, UserInterface &ui)
{
    const bool rirod = s.kind == LogKind::Rirod;
    if (s.positions.size() > 1) {
        const SaveLocation location = ui.chooseSaveLocation(rirod);
        return {location.folder, findOutputFormat(location.format)};
    }
    const SaveFileChoice choice =
        ui.chooseSaveFile(QStringLiteral("Save log as..."), saveFileFilters(s.kind));
    // A filter the dialog did not name reads as the last one.
    const QList<const OutputFormat *> offered = windowFormats(rirod);
    const bool named = choice.filterIndex >= 1 && choice.filterIndex <= offered.size();
    return {choice.path, named ? offered[choice.filterIndex - 1] : offered.last()};
}

void saveSelected(const SaveSelection &s, const SaveServices &services, CommandOutcome &outcome)
{
    CommandHost &host = services.host;
    UserInterface &ui = services.ui;
    Destination to = chooseDestination(s, ui);
    if (to.folder.isEmpty() || !to.format)
        return;
    outcome.status = CommandOutcome::Status::Completed;
    const bool several = s.positions.size() > 1;
    if (several)
        to.folder = withTrailingSeparator(to.folder);

    host.clearCancelRequest();
    host.setCancelShown(true);
    host.showStatusNow(QStringLiteral("Saving log(s)..."));
    std::unique_ptr<vexasync::ByteUtility> bytes; // made for the first log, released at the end
    RunFileNames names;
    for (const int position : s.positions) {
        if (position < 0 || position >= static_cast<int>(s.logs.size()))
            throw RuntimeError(
                ErrorNumber::SubscriptOutOfRange,
                QStringLiteral("Subscript out of range: list line %1").arg(position));
        const LogIndexEntry &entry = s.logs[static_cast<std::size_t>(position)];
        const QString name =
            several
                ? names.claim(multiLogFileName(to.folder, s.kind, entry, to.format->extension()))
                : to.folder;
        const QFileInfo file(name);
        if (file.exists() && !ui.ask(overwriteQuestion(file.fileName()))) {
            outcome.status = CommandOutcome::Status::Cancelled;
            return;
        }
        host.clearCancelRequest();
        host.setCancelShown(true);
        host.setCommandButtonsShown(false);
        if (!bytes)
            bytes = services.sync.createByteUtility();
        ExportContext context{services.scanDatabase, *bytes, host, ui, services.dates};
        const bool written = saveLogFile(name, s.kind, to.format->code, entry, context);
        outcome.logs.push_back({position, written, name});
    }
}

} // namespace

QString overwriteQuestion(const QString &fileName)
{
    return QStringLiteral("File %1 already exists - overwrite?").arg(fileName);
}

QList<FileFilter> saveFileFilters(LogKind kind)
{
    const bool rirod = kind == LogKind::Rirod;
    QList<FileFilter> filters;
    for (const OutputFormat *format : windowFormats(rirod))
        filters << format->fileDialog(rirod);
    return filters;
}

CommandOutcome runSaveCommand(const SaveSelection &selection, const SaveServices &services)
{
    CommandOutcome outcome;
    if (!selection.positions.empty()) {
        try {
            saveSelected(selection, services, outcome);
        } catch (...) {
            const RuntimeError error = currentError();
            services.ui.inform(
                errorBoxText(QStringLiteral("There was an error saving the file."), error));
            outcome.status = CommandOutcome::Status::Failed;
            outcome.error = error.description();
        }
    }
    services.host.setCancelShown(false);
    services.host.setCommandButtonsShown(true);
    services.host.showStatusNow(QStringLiteral("Complete."));
    return outcome;
}

} // namespace vexa
