// The window that shows one scan log's plot: panels with a cursor, a scroll
// bar over the log, the numbers of the view or of a marked range, the
// channels to show, and the view saved as a picture or the range's scans as
// CSV. It reads nothing from the handheld itself, so it can stay open when
// the main window has closed. Its choices are kept in a settings section of
// its own.
#pragma once

#include "core/UserInterface.h"
#include "plot/PlotData.h"
#include "store/DateText.h"

#include <QWidget>

#include <functional>

class QTextBrowser;
class QCheckBox;
class QScrollBar;

namespace vexa {

class PanelLayout;
class PlotView;
class SettingsStore;

class PlotWindow : public QWidget {
    Q_OBJECT

public:
    // Opens the tuning table of the plot's log over the window; none: no
    // Table button.
    using TableOpener = std::function<void(const PlotData &plot, QWidget *plotWindow)>;

    PlotWindow(PlotData plot, const DateText &dates, UserInterface &ui, SettingsStore &settings,
               TableOpener openTable = {}, QWidget *parent = nullptr);

    PlotView *view() const { return m_view; }
    QTextBrowser *numbers() const { return m_numbers; }
    QScrollBar *scrollBar() const { return m_scroll; }
    // Tab-separated, as Copy Numbers puts it on the clipboard.
    QString numbersText() const;

signals:
    // Any mouse or key input in the window: the user is still there.
    void userActed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildButtons();
    void showView();
    void showNumbers();
    void choosePanels(const PanelLayout &panels);
    void saveRangeCsv();
    // Writes what `bytes` makes to a file the user names.
    void save(const FileFilter &filter, const std::function<void(const QString &)> &write);

    UserInterface &m_ui;
    SettingsStore &m_settings;
    TableOpener m_openTable;
    DateText m_dates;
    PlotView *m_view = nullptr;
    QScrollBar *m_scroll = nullptr;
    QTextBrowser *m_numbers = nullptr;
    QString m_numbersHtml;
    bool m_numbersPending = false;
    QCheckBox *m_numbersShown = nullptr;
    bool m_numbersChosen = false;
};

// Where the next plot window opens: below and right of the open ones, inside
// `screen`.
QRect cascadedPlace(QSize size, const QRect &screen, int openWindows);

} // namespace vexa
