// The real message boxes and dialogs.
#pragma once

#include "core/UserInterface.h"

#include <QPointer>
#include <QWidget>

namespace vexa {

class QtUserInterface final : public UserInterface {
public:
    // Boxes are centred on the parent once it is shown.
    void setParentWindow(QWidget *parent) { m_parent = parent; }

    void showMessage(const QString &text, const QString &title, Icon icon) override;
    bool askYesNo(const QString &text, const QString &title) override;
    SaveFileChoice chooseSaveFile(const QString &title, const QList<FileFilter> &filters,
                                  const QString &suggested = QString()) override;
    SaveLocation chooseSaveLocation(bool rirodFormats) override;
    QString chooseFolder(const QString &title) override;
    FormatChoice chooseFormat(const QString &title, const QList<FormatOffer> &formats) override;
    std::optional<QDate> chooseDate(const QString &text, const QString &title) override;
    void setDialogOwner(QObject *window) override { m_owner = qobject_cast<QWidget *>(window); }

private:
    QWidget *parent() const;
    QPointer<QWidget> m_parent;
    QPointer<QWidget> m_owner;
};

// Qt's form of a filter: the description, with the pattern in brackets
// unless the description already ends with it.
QString qtFilter(const FileFilter &filter);

} // namespace vexa
