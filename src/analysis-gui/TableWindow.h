// The tuning table of a set of logs on screen: the user chooses the axes,
// the value, its statistic, conditions and the minimum of scans per cell;
// the grid is coloured by value, shows counts on demand, and goes to the
// clipboard or a CSV file as the command line prints it. The choices of the
// last table made are the next window's, which its openers make at once.
#pragma once

#include "analysis/LogbookTable.h"
#include "core/UserInterface.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;

namespace vexa {

class ScatterWindow;
class SettingsStore;

// Makes the table of the window's logs; throws RuntimeError.
using TableSource = std::function<LogbookTable(const TableRequest &)>;

class TableWindow : public QWidget {
    Q_OBJECT

public:
    TableWindow(const QString &logsName, TableSource source, UserInterface &ui,
                SettingsStore &settings, QWidget *parent = nullptr);

    QTableWidget *grid() const { return m_grid; }
    QLabel *message() const { return m_message; }
    QLabel *leftOut() const { return m_leftOut; }
    QCheckBox *countsShown() const { return m_counts; }
    QPlainTextEdit *conditions() const { return m_conditions; }
    QLineEdit *xAxis() const { return m_xAxis; }
    QLineEdit *yAxis() const { return m_yAxis; }
    // What Copy puts on the clipboard; empty without a table.
    QString tableText() const;

    void setChannels(const QString &x, const QString &y, const QString &value);
    void setStat(CellStat stat);
    void setMinHits(int minHits);
    // Reads the choices and makes the table; a choice that doesn't read
    // shows why and keeps the last table.
    void makeTable();
    void copyTable();
    void saveCsv();

    // Makes the table as Make Table does, then opens the scatter of the
    // scans that count; none when no scan counts.
    void openScatter();
    // The scatter the last Scatter... opened, while it is open.
    ScatterWindow *scatterWindow() const;

private:
    // "MAP\RPM" in the grid's corner: which channel runs which way.
    QString cornerText() const;
    TableRequest readRequest() const;
    CellStat shownStat() const;
    void showGrid();
    void restoreChoices();
    void keepChoices() const;

    TableSource m_source;
    UserInterface &m_ui;
    SettingsStore &m_settings;
    std::optional<CellTable> m_table;
    QLineEdit *m_x = nullptr, *m_y = nullptr, *m_value = nullptr;
    QComboBox *m_stat = nullptr;
    QPlainTextEdit *m_conditions = nullptr;
    QSpinBox *m_minHits = nullptr;
    QLineEdit *m_xAxis = nullptr, *m_yAxis = nullptr;
    QCheckBox *m_counts = nullptr;
    QLabel *m_message = nullptr;
    QAbstractButton *m_corner = nullptr;
    QTableWidget *m_grid = nullptr;
    QLabel *m_leftOut = nullptr;

    QString m_logsName;
    std::shared_ptr<const std::vector<CountedScan>> m_points; // of the table made last
    QPointer<ScatterWindow> m_scatter;
};

} // namespace vexa
