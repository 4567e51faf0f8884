// Every message box, question and file dialog of the program goes through
// this interface, so that tests can answer them.
#pragma once

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace vexa {

// The title of message boxes that give none of their own.
inline QString appTitle()
{
    return QStringLiteral("VEXA Synch");
}

struct FileFilter {
    QString description; // as the dialog lists it
    QString pattern;     // "*." and an extension
};

struct SaveFileChoice {
    QString path;        // empty: the dialog was cancelled
    int filterIndex = 0; // 1-based position of the chosen filter
};

struct SaveLocation {
    QString folder; // empty: the dialog was cancelled
    QString format; // the code of an output format
};

class UserInterface {
public:
    enum class Icon { None, Information };

    virtual ~UserInterface() = default;
    virtual void showMessage(const QString &text, const QString &title, Icon icon) = 0;
    // True for Yes.
    virtual bool askYesNo(const QString &text, const QString &title) = 0;
    // The file-save dialog, with an empty file name.
    virtual SaveFileChoice chooseSaveFile(const QString &title,
                                          const QList<FileFilter> &filters) = 0;
    // The save-location dialog; rirodFormats offers all three formats.
    virtual SaveLocation chooseSaveLocation(bool rirodFormats) = 0;
    // A day, asked with `text`; none: cancelled, or nobody to ask.
    virtual std::optional<QDate> chooseDate(const QString &text, const QString &title)
    {
        (void)text;
        (void)title;
        return std::nullopt;
    }
    // The window the boxes that follow belong to, so that they raise it and
    // not the main window; null gives them back to the main window.
    virtual void setDialogOwner(QObject *window) { (void)window; }

    void inform(const QString &text) { showMessage(text, appTitle(), Icon::None); }
    bool ask(const QString &text) { return askYesNo(text, appTitle()); }
};

} // namespace vexa
