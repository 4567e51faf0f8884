#include "LogbookOptions.h"

#include "core/RuntimeError.h"
#include "export/OutputFormat.h"

namespace vexa::logbook {

namespace {

const char *const KindWords = "rirod, ltrim, accel or tcode";
const char *const StateWords = "on-handheld, deleted, gone, put-back or unconfirmed";

QString text(const std::string &arg)
{
    return QString::fromLocal8Bit(arg);
}

// Takes the filter option at args[i] and its value; false for any other.
bool takeFilter(const Args &args, std::size_t &i, LogFilter &filter)
{
    const std::string &option = args[i];
    const auto value = [&]() {
        if (i + 1 >= args.size())
            throw UsageError{option + " takes a value"};
        return args[++i];
    };
    const auto date = [&]() {
        const std::string v = value();
        const QDate d = dateOf(v);
        if (!d.isValid())
            throw UsageError{option + " takes a date, YYYY-MM-DD: '" + v + "'"};
        return d;
    };
    if (option == "--kind") {
        const std::string v = value();
        filter.kind = kindOfWord(text(v));
        if (!filter.kind)
            throw UsageError{"--kind takes " + std::string(KindWords) + ": '" + v + "'"};
    } else if (option == "--state") {
        const std::string v = value();
        filter.state = stateOfWord(text(v));
        if (!filter.state)
            throw UsageError{"--state takes " + std::string(StateWords) + ": '" + v + "'"};
    } else if (option == "--user") {
        filter.user = text(value());
    } else if (option == "--search") {
        filter.search = text(value());
    } else if (option == "--since") {
        filter.since = date();
    } else if (option == "--until") {
        filter.until = date();
    } else {
        return false;
    }
    return true;
}

// Takes a log's id at args[i]; false for an option.
bool takeId(const std::string &arg, std::vector<std::int64_t> &ids)
{
    if (arg.empty() || arg[0] == '-')
        return false;
    bool ok = false;
    const std::int64_t id = text(arg).toLongLong(&ok);
    if (!ok || id < 1)
        throw UsageError{"a log is named by its id, a number from 1: '" + arg + "'"};
    ids.push_back(id);
    return true;
}

// Logs by their ids or by --all with filters, not both.
void checkChoice(bool all, const std::vector<std::int64_t> &ids, bool filtered)
{
    if (all == !ids.empty())
        throw UsageError{"choose the logs with either their ids or --all"};
    if (filtered && !all)
        throw UsageError{"filters choose logs with --all only"};
}

// What the analysis core says of a wrong condition, code or axis is a wrong
// command line.
template <typename F> auto usage(const std::string &option, F &&parse)
{
    try {
        return parse();
    } catch (const RuntimeError &e) {
        throw UsageError{option + ": " + e.description().toStdString()};
    }
}

[[noreturn]] void unexpected(const std::string &arg)
{
    throw UsageError{"unexpected argument '" + arg + "' (see --help)"};
}

} // namespace

QDate dateOf(const std::string &arg)
{
    const QDate day = QDate::fromString(text(arg), Qt::ISODate);
    return day.isValid() && day.toString(Qt::ISODate) == text(arg) ? day : QDate();
}

ListOptions parseListOptions(const Args &args)
{
    ListOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json")
            o.json = true;
        else if (!takeFilter(args, i, o.filter))
            unexpected(args[i]);
    }
    return o;
}

ExportOptions parseExportOptions(const Args &args)
{
    ExportOptions o;
    bool filtered = false, force = false, skip = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--all") {
            o.all = true;
        } else if (a == "--force") {
            force = true;
        } else if (a == "--skip-existing") {
            skip = true;
        } else if (a == "--format" || a == "--out") {
            if (i + 1 >= args.size())
                throw UsageError{a + " takes a value"};
            const QString v = text(args[++i]);
            if (a == "--out")
                o.out = v;
            else if (!(o.format = findOutputFormat(v.toUpper())))
                throw UsageError{"--format takes " + formatHelp() + ": '" + v.toStdString() + "'"};
        } else if (takeFilter(args, i, o.filter)) {
            filtered = true;
        } else if (!takeId(a, o.ids)) {
            unexpected(a);
        }
    }
    if (!o.format)
        throw UsageError{"--format takes " + formatHelp()};
    if (o.out.isEmpty())
        throw UsageError{"--out names the folder to save into"};
    checkChoice(o.all, o.ids, filtered);
    if (force && skip)
        throw UsageError{"choose either --force or --skip-existing"};
    o.existing = force  ? BatchSave::Existing::Overwrite
                 : skip ? BatchSave::Existing::Skip
                        : BatchSave::Existing::LeaveAndFail;
    return o;
}

TableOptions parseTableOptions(const Args &args)
{
    TableOptions o;
    bool filtered = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const auto value = [&]() {
            if (i + 1 >= args.size())
                throw UsageError{a + " takes a value"};
            return args[++i];
        };
        if (a == "--all") {
            o.all = true;
        } else if (a == "--x" || a == "--y" || a == "--value") {
            std::string &code = a == "--x"   ? o.request.x
                                : a == "--y" ? o.request.y
                                             : o.request.value;
            code = value();
            usage(a, [&] { checkChannelCode(code); });
        } else if (a == "--x-axis" || a == "--y-axis") {
            const std::string v = value();
            (a == "--x-axis" ? o.request.xAxis : o.request.yAxis) =
                usage(a, [&] { return parseBreakpoints(v); });
        } else if (a == "--where") {
            const std::string v = value();
            o.request.conditions.push_back(usage(a, [&] { return parseCondition(v); }));
        } else if (a == "--stat") {
            const std::string v = value();
            if (v == "mean")
                o.stat = CellStat::Mean;
            else if (v == "min")
                o.stat = CellStat::Min;
            else if (v == "max")
                o.stat = CellStat::Max;
            else if (v == "count")
                o.stat = CellStat::Count;
            else
                throw UsageError{"--stat takes mean, min, max or count: '" + v + "'"};
        } else if (a == "--min-hits") {
            const std::string v = value();
            bool ok = false;
            o.request.minHits = text(v).toInt(&ok);
            if (!ok || o.request.minHits < 1)
                throw UsageError{"--min-hits takes a whole number from 1: '" + v + "'"};
        } else if (takeFilter(args, i, o.filter)) {
            filtered = true;
        } else if (!takeId(a, o.ids)) {
            unexpected(a);
        }
    }
    for (const auto &[option, code] :
         {std::pair{"--x", &o.request.x}, {"--y", &o.request.y}, {"--value", &o.request.value}})
        if (code->empty())
            throw UsageError{std::string(option) + " names the table's channel, such as RPM"};
    checkChoice(o.all, o.ids, filtered);
    return o;
}

std::string filterHelp()
{
    return std::string("      --kind K: ") + KindWords + "; --state S: " + StateWords +
           ";\n      --since/--until DATE (YYYY-MM-DD, the log's start, both days included);\n"
           "      --user NAME; --search TEXT (in text and note, any case).";
}

std::string formatHelp()
{
    QStringList codes;
    for (const OutputFormat &format : outputFormats())
        codes << format.code + (format.rirodOnly ? QStringLiteral(" (Rirod logs)") : QString());
    return codes.join(QStringLiteral(", ")).toStdString() + ".";
}

} // namespace vexa::logbook
