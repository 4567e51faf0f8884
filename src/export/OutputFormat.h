// The formats a log can be saved in: what the batch tool accepts, what each
// dialog of the main window offers and in which words, and who writes them.
#pragma once

#include "ExportContext.h"
#include "format/LogKind.h"

#include <QList>

#include <span>

namespace vexa {

// Writes one log to a new file under `path`, as saveLogFile promises.
using LogFileWriter = void (*)(const QString &path, LogKind kind, const LogIndexEntry &entry,
                               ExportContext &context);

struct OutputFormat {
    // Names a row to the layer that registers its writer.
    enum Id { Csv, Txt, Efi, Msl, Mlg, Png, Svg };

    Id id;
    QString code; // vexa-export's --format
    // A description empty where the main window does not offer the format.
    FileFilter rirodFileDialog; // the file dialog on the Rirod tab
    FileFilter otherFileDialog; // the file dialog on the other tabs
    QString saveLocationText;   // the save-location dialog's combo
    bool rirodOnly;             // else it fits every kind of log
    QString title;              // what the logbook window calls it
    LogFileWriter writer = nullptr;

    // Of the files named for several logs: the code in capitals.
    QString extension() const { return code.toUpper(); }
    // The logbook window's file dialog: "Comma-delimited text (*.csv)".
    FileFilter anyLogFilter() const
    {
        const QString pattern = QStringLiteral("*.") + code.toLower();
        return {title + QStringLiteral(" (") + pattern + QLatin1Char(')'), pattern};
    }
    bool fits(LogKind kind) const { return !rirodOnly || kind == LogKind::Rirod; }
    const FileFilter &fileDialog(bool rirodTab) const
    {
        return rirodTab ? rirodFileDialog : otherFileDialog;
    }
};

// Every row, in the order the dialogs and vexa-export list them.
std::span<const OutputFormat> outputFormats();
// Null for a code no row has.
const OutputFormat *findOutputFormat(const QString &code);
// What the main window offers on the Rirod tab or on the others, in both
// of its dialogs.
QList<const OutputFormat *> windowFormats(bool rirodTab);

// Called at each program's start-up by the layer that owns the writer, not
// from a static initialiser, which a static library's link may drop.
void registerOutputWriter(OutputFormat::Id id, LogFileWriter writer);

} // namespace vexa
