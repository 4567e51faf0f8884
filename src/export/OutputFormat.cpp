#include "OutputFormat.h"

#include <algorithm>

namespace vexa {

namespace {

// Adding a format is one row here (with its Id) plus its writer, registered
// by the layer that owns it; the dialogs and vexa-export follow the table.
std::span<OutputFormat> table()
{
    static OutputFormat rows[] = {
        {.id = OutputFormat::Csv,
         .code = QStringLiteral("CSV"),
         .rirodFileDialog = {QStringLiteral("Comma-delimited (*.csv)"), QStringLiteral("*.csv")},
         .otherFileDialog = {},
         .saveLocationText = QStringLiteral("Comma-delimited (*.csv)"),
         .rirodOnly = false,
         .title = QStringLiteral("Comma-delimited text")},
        {.id = OutputFormat::Txt,
         .code = QStringLiteral("TXT"),
         .rirodFileDialog = {QStringLiteral("Space-delimited (*.txt)"), QStringLiteral("*.txt")},
         .otherFileDialog = {QStringLiteral("Text file (*.txt)"), QStringLiteral("*.txt")},
         .saveLocationText = QStringLiteral("Space-delimited (*.txt)"),
         .rirodOnly = false,
         .title = QStringLiteral("Fixed-width text")},
        {.id = OutputFormat::Efi,
         .code = QStringLiteral("EFI"),
         .rirodFileDialog = {QStringLiteral("EFILive format(*.efi)"), QStringLiteral("*.efi")},
         .otherFileDialog = {},
         .saveLocationText = QStringLiteral("EFILive format(*.efi)"),
         .rirodOnly = true,
         .title = QStringLiteral("EFILive binary log")},
        // The datalog viewers' text and binary logs, saved by vexa-export
        // only: the main window's dialogs keep their three formats.
        {.id = OutputFormat::Msl,
         .code = QStringLiteral("MSL"),
         .rirodFileDialog = {},
         .otherFileDialog = {},
         .saveLocationText = {},
         .rirodOnly = true,
         .title = QStringLiteral("MegaLogViewer text log")},
        {.id = OutputFormat::Mlg,
         .code = QStringLiteral("MLG"),
         .rirodFileDialog = {},
         .otherFileDialog = {},
         .saveLocationText = {},
         .rirodOnly = true,
         .title = QStringLiteral("MegaLogViewer binary log")},
        // Plots, saved by vexa-export only.
        {.id = OutputFormat::Png,
         .code = QStringLiteral("PNG"),
         .rirodFileDialog = {},
         .otherFileDialog = {},
         .saveLocationText = {},
         .rirodOnly = true,
         .title = QStringLiteral("Plot of every channel, PNG picture")},
        {.id = OutputFormat::Svg,
         .code = QStringLiteral("SVG"),
         .rirodFileDialog = {},
         .otherFileDialog = {},
         .saveLocationText = {},
         .rirodOnly = true,
         .title = QStringLiteral("Plot of every channel, SVG picture")},
    };
    return rows;
}

} // namespace

std::span<const OutputFormat> outputFormats()
{
    return table();
}

const OutputFormat *findOutputFormat(const QString &code)
{
    const auto rows = outputFormats();
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const OutputFormat &f) { return f.code == code; });
    return it == rows.end() ? nullptr : &*it;
}

QList<const OutputFormat *> windowFormats(bool rirodTab)
{
    QList<const OutputFormat *> offered;
    for (const OutputFormat &format : outputFormats())
        if (!format.fileDialog(rirodTab).description.isEmpty() &&
            !format.saveLocationText.isEmpty())
            offered << &format;
    return offered;
}

void registerOutputWriter(OutputFormat::Id id, LogFileWriter writer)
{
    for (OutputFormat &format : table())
        if (format.id == id)
            format.writer = writer;
}

} // namespace vexa
