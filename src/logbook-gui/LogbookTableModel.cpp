#include "LogbookTableModel.h"

#include "format/ParamCatalogue.h"
#include "logbook/LogbookText.h"
#include "store/LogSearch.h"

#include <array>

namespace vexa {

namespace {

int channelCount(const QString &channels)
{
    return static_cast<int>(channels.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

// "MAP, RPM, ECT": the codes of the parameter numbers.
QString channelCodes(const QString &channels)
{
    QStringList codes;
    for (const QString &number : channels.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const std::string_view code = paramNumberToCode(number.toInt());
        codes << (code.empty() ? number : QString::fromLatin1(code.data(), code.size()));
    }
    return codes.join(QStringLiteral(", "));
}

QString oneLine(const QString &text)
{
    return printableLine(firstTextLine(text));
}

} // namespace

QString kindName(LogKind kind)
{
    static const std::array<const char *, 4> names = {"Rirod log", "LTrim", "Accel test",
                                                      "Trouble code"};
    return QLatin1String(names.at(static_cast<std::size_t>(kind)));
}

LogbookTableModel::LogbookTableModel(const DateText &dates, QObject *parent)
    : QAbstractTableModel(parent), m_dates(dates)
{}

void LogbookTableModel::setLogs(std::vector<LogbookEntry> logs)
{
    beginResetModel();
    m_logs = std::move(logs);
    endResetModel();
}

int LogbookTableModel::rowOf(std::int64_t id) const
{
    for (std::size_t row = 0; row < m_logs.size(); ++row)
        if (m_logs[row].id == id)
            return static_cast<int>(row);
    return -1;
}

void LogbookTableModel::setNote(int row, const QString &note)
{
    m_logs.at(static_cast<std::size_t>(row)).note = note;
    emit dataChanged(index(row, Note), index(row, Note));
}

int LogbookTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_logs.size());
}

int LogbookTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LogbookTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LogbookEntry &log = m_logs[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return shown(log, index.column());
    case IdRole:
        return QVariant::fromValue<qint64>(log.id);
    case Qt::ToolTipRole:
        if (!log.damage.isEmpty())
            return QStringLiteral("This log can't be read: %1").arg(log.damage);
        if (index.column() == Channels)
            return channelCodes(log.channels);
        if (index.column() == Text || index.column() == Note)
            return index.column() == Text ? log.text : log.note;
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == Duration || index.column() == Scans || index.column() == Channels)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant LogbookTableModel::shown(const LogbookEntry &log, int column) const
{
    switch (column) {
    case User:
        return log.userName;
    case Kind:
        return kindName(log.kind);
    case Start:
        return startText(log, m_dates);
    case Duration:
        return durationText(log.durationMs);
    case Scans:
        return m_dates.locale().toString(log.scanCount);
    case Channels:
        return channelCount(log.channels);
    case State:
        return stateName(log.state);
    case Note:
        return oneLine(log.note);
    case Text:
        return log.damage.isEmpty() ? oneLine(log.text)
                                    : QStringLiteral("Can't be read: %1").arg(log.damage);
    default:
        return {};
    }
}

bool LogbookTableModel::sortsBefore(int left, int right, int column) const
{
    const LogbookEntry &a = log(left);
    const LogbookEntry &b = log(right);
    const auto texts = [](const QString &x, const QString &y) {
        return QString::compare(x, y, Qt::CaseInsensitive) < 0;
    };
    switch (column) {
    case User:
        return texts(a.userName, b.userName);
    case Kind:
        return a.kind < b.kind;
    case Start:
        return a.start < b.start; // ISO text sorts as time does
    case Duration:
        return a.durationMs < b.durationMs;
    case Scans:
        return a.scanCount < b.scanCount;
    case Channels:
        return channelCount(a.channels) < channelCount(b.channels);
    case State:
        return a.state < b.state;
    case Note:
        return texts(oneLine(a.note), oneLine(b.note));
    case Text:
        // A damaged row has no text to sort by.
        return texts(a.damage.isEmpty() ? a.text : QString(),
                     b.damage.isEmpty() ? b.text : QString());
    default:
        return false;
    }
}

QVariant LogbookTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const std::array<const char *, ColumnCount> titles = {
        "User", "Kind", "Start", "Duration", "Scans", "Channels", "State", "Note", "Text"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount)
        return QLatin1String(titles[static_cast<std::size_t>(section)]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace vexa
