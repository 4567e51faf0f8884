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

struct FormatOffer {
    QString code;        // of an output format
    QString description; // as the dialog lists it
};

struct FormatChoice {
    QString format;               // the code of an output format; empty: cancelled
    bool replaceExisting = false; // else files that exist are skipped
};

class UserInterface {
public:
    enum class Icon { None, Information };

    virtual ~UserInterface() = default;
    virtual void showMessage(const QString &text, const QString &title, Icon icon) = 0;
    // True for Yes.
    virtual bool askYesNo(const QString &text, const QString &title) = 0;
    // The file-save dialog, with the suggested path or an empty file name.
    virtual SaveFileChoice chooseSaveFile(const QString &title, const QList<FileFilter> &filters,
                                          const QString &suggested = QString()) = 0;
    // The save-location dialog; rirodFormats offers all three formats.
    virtual SaveLocation chooseSaveLocation(bool rirodFormats) = 0;
    // A folder to save in; empty: cancelled.
    virtual QString chooseFolder(const QString &title) = 0;
    // One of the formats, and what becomes of files that exist.
    virtual FormatChoice chooseFormat(const QString &title, const QList<FormatOffer> &formats) = 0;
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
