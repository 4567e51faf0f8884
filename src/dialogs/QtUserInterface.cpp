#include "QtUserInterface.h"

#include "FormatDialog.h"
#include "PathDialog.h"

#include <QFileDialog>
#include <QMessageBox>

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
    const QString folder = QFileDialog::getExistingDirectory(parent(), title);
    return folder.isEmpty() ? QString() : QDir::toNativeSeparators(folder);
}

FormatChoice QtUserInterface::chooseFormat(const QString &title, const QList<FormatOffer> &formats)
{
    FormatDialog dialog(title, formats, parent());
    return dialog.exec() == QDialog::Accepted ? dialog.choice() : FormatChoice{};
}

} // namespace vexa
