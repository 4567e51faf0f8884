// The logbook window's filter: a search box over text and notes, and
// choosers for the kind, the user, the state and a range of start dates.
#pragma once

#include "logbook/LogbookEntry.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLineEdit;

namespace vexa {

class LogbookFilterBar final : public QWidget {
    Q_OBJECT

public:
    explicit LogbookFilterBar(const QLocale &locale, QWidget *parent = nullptr);

    LogFilter filter() const;
    // The users the chooser offers; the one chosen stays chosen.
    void setUsers(QStringList users);
    // Everything shows again.
    void clear();
    QLineEdit *searchBox() const { return m_search; }

signals:
    void changed();

private:
    QLineEdit *m_search;
    QComboBox *m_kind;
    QComboBox *m_user;
    QComboBox *m_state;
    QDateEdit *m_since;
    QDateEdit *m_until;
};

} // namespace vexa
