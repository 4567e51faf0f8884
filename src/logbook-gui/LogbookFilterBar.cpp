#include "LogbookFilterBar.h"

#include "LogbookTableModel.h"
#include "logbook/LogbookText.h"
#include "store/DateText.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace vexa {

namespace {

// A date edit's lowest date reads as no limit.
const QDate NoLimit(1900, 1, 1);

QDateEdit *dateChooser(const QLocale &locale, const char *name, QWidget *parent)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setLocale(locale);
    edit->setDisplayFormat(withFourDigitYear(locale.dateFormat(QLocale::ShortFormat)));
    edit->setMinimumDate(NoLimit);
    edit->setSpecialValueText(QStringLiteral("Any"));
    edit->setDate(NoLimit);
    edit->setCalendarPopup(true);
    return edit;
}

QComboBox *chooser(const char *name, const QString &all, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItem(all);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

QDate limit(const QDateEdit *edit)
{
    return edit->date() == NoLimit ? QDate() : edit->date();
}

} // namespace

LogbookFilterBar::LogbookFilterBar(const QLocale &locale, QWidget *parent) : QWidget(parent)
{
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("searchBox"));
    m_search->setPlaceholderText(QStringLiteral("Search text and notes"));
    m_search->setClearButtonEnabled(true);
    m_search->setMinimumWidth(160);
    m_kind = chooser("kindChooser", QStringLiteral("All kinds"), this);
    for (const LogKind kind :
         {LogKind::Rirod, LogKind::LTrim, LogKind::AccelTest, LogKind::TroubleCode})
        m_kind->addItem(kindName(kind), static_cast<int>(kind));
    m_user = chooser("userChooser", QStringLiteral("All users"), this);
    m_state = chooser("stateChooser", QStringLiteral("All states"), this);
    for (const LogState state : {LogState::OnHandheld, LogState::Deleted, LogState::Gone,
                                 LogState::PutBack, LogState::Unconfirmed})
        m_state->addItem(stateName(state), static_cast<int>(state));
    m_since = dateChooser(locale, "sinceDate", this);
    m_until = dateChooser(locale, "untilDate", this);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_search, 1);
    row->addWidget(m_kind);
    row->addWidget(m_user);
    row->addWidget(m_state);
    for (const auto &[text, edit] :
         {std::pair{QStringLiteral("&From"), m_since}, std::pair{QStringLiteral("&To"), m_until}}) {
        auto *label = new QLabel(text, this);
        label->setBuddy(edit);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString(text).remove(u'&')) +
                               8);
        row->addWidget(label);
        row->addWidget(edit);
    }

    connect(m_search, &QLineEdit::textChanged, this, &LogbookFilterBar::changed);
    for (QComboBox *box : {m_kind, m_user, m_state})
        connect(box, &QComboBox::currentIndexChanged, this, &LogbookFilterBar::changed);
    for (QDateEdit *edit : {m_since, m_until})
        connect(edit, &QDateEdit::dateChanged, this, &LogbookFilterBar::changed);
}

LogFilter LogbookFilterBar::filter() const
{
    LogFilter f;
    if (m_kind->currentIndex() > 0)
        f.kind = static_cast<LogKind>(m_kind->currentData().toInt());
    if (m_user->currentIndex() > 0)
        f.user = m_user->currentText();
    if (m_state->currentIndex() > 0)
        f.state = static_cast<LogState>(m_state->currentData().toInt());
    f.since = limit(m_since);
    f.until = limit(m_until);
    f.search = m_search->text();
    return f;
}

void LogbookFilterBar::setUsers(QStringList users)
{
    users.sort(Qt::CaseInsensitive);
    const QString chosen = m_user->currentIndex() > 0 ? m_user->currentText() : QString();
    if (!chosen.isEmpty() && !users.contains(chosen))
        users << chosen; // a chosen user stays until the user changes it
    QStringList offered;
    for (int i = 1; i < m_user->count(); ++i)
        offered << m_user->itemText(i);
    if (offered == users)
        return;
    const QSignalBlocker quiet(m_user);
    while (m_user->count() > 1)
        m_user->removeItem(1);
    m_user->addItems(users);
    m_user->setCurrentIndex(chosen.isEmpty() ? 0 : m_user->findText(chosen));
}

void LogbookFilterBar::clear()
{
    {
        const QSignalBlocker quiet(this); // one change, not one per chooser
        m_search->clear();
        for (QComboBox *box : {m_kind, m_user, m_state})
            box->setCurrentIndex(0);
        m_since->setDate(NoLimit);
        m_until->setDate(NoLimit);
    }
    emit changed();
}

} // namespace vexa
