#include "QtUserInterface.h"

#include "FormatDialog.h"
#include "PathDialog.h"

#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace vexa {

QWidget *QtUserInterface::parent() const
{
    if (m_owner && m_owner->isVisible())
        return m_owner.data();
    return m_parent && m_parent->isVisible() ? m_parent.data() : nullptr;
}

void QtUserInterface::showMessage(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
                    title, text, QMessageBox::Ok, parent());
    box.exec();
}

bool QtUserInterface::askYesNo(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, parent());
    return box.exec() == QMessageBox::Yes;
}

QString qtFilter(const FileFilter &filter)
{
    const QString bracketed = QLatin1Char('(') + filter.pattern + QLatin1Char(')');
    return filter.description.endsWith(bracketed)
               ? filter.description
               : filter.description + QLatin1Char(' ') + bracketed;
}

SaveFileChoice QtUserInterface::chooseSaveFile(const QString &title,
                                               const QList<FileFilter> &filters,
                                               const QString &suggested)
{
    QStringList qtFilters;
    for (const FileFilter &f : filters)
        qtFilters << qtFilter(f);
    QString chosen;
    // The save command asks about an existing file itself.
    const QString path = QFileDialog::getSaveFileName(parent(), title, suggested,
                                                      qtFilters.join(QStringLiteral(";;")), &chosen,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return {};
    return {QDir::toNativeSeparators(path), static_cast<int>(qtFilters.indexOf(chosen)) + 1};
}

SaveLocation QtUserInterface::chooseSaveLocation(bool rirodFormats)
{
    UserSettings settings;
    SystemVolumes volumes;
    PathDialog dialog(rirodFormats, settings, volumes, parent());
    dialog.exec();
    return dialog.location();
}

QString QtUserInterface::chooseFolder(const QString &title)
{
    const QString folder = QFileDialog::getExistingDirectory(parent(), title, QDir::homePath());
    return folder.isEmpty() ? QString() : QDir::toNativeSeparators(folder);
}

FormatChoice QtUserInterface::chooseFormat(const QString &title, const QList<FormatOffer> &formats)
{
    FormatDialog dialog(title, formats, parent());
    return dialog.exec() == QDialog::Accepted ? dialog.choice() : FormatChoice{};
}

std::optional<QDate> QtUserInterface::chooseDate(const QString &text, const QString &title)
{
    QDialog dialog(parent());
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(text, &dialog);
    label->setWordWrap(true);
    auto *day = new QDateEdit(QDate::currentDate(), &dialog);
    day->setCalendarPopup(true);
    day->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    label->setBuddy(day);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(day);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return day->date();
}

} // namespace vexa
