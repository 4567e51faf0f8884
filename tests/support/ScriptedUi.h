// A user interface whose answers the test gives in advance; it records every
// box and dialog that was shown.
#pragma once

#include "QtPrinters.h"

#include "core/UserInterface.h"

#include <deque>
#include <functional>
#include <vector>

namespace vexa::test {

struct Prompt {
    enum Kind { Message, Question, SaveFile, SaveLocation, Folder, Format, Date };
    Kind kind;
    QString text;
    QString title;
    UserInterface::Icon icon = UserInterface::Icon::None;
    QList<FileFilter> filters;
    bool rirodFormats = false;
    QString suggested;          // by the file-save dialog
    QList<FormatOffer> formats; // by the format choice
};

class ScriptedUi final : public UserInterface {
public:
    std::vector<Prompt> prompts;
    std::deque<bool> answers; // for questions; running out fails the test
    std::deque<SaveFileChoice> files;
    std::deque<SaveLocation> locations;
    std::deque<QString> folders;
    std::deque<FormatChoice> formatChoices;
    std::deque<std::optional<QDate>> dates; // running out fails the test
    // Runs while the box is "open", before it is answered.
    std::function<void(const Prompt &)> whileOpen;

    void showMessage(const QString &text, const QString &title, Icon icon) override;
    bool askYesNo(const QString &text, const QString &title) override;
    SaveFileChoice chooseSaveFile(const QString &title, const QList<FileFilter> &filters,
                                  const QString &suggested = QString()) override;
    SaveLocation chooseSaveLocation(bool rirodFormats) override;
    QString chooseFolder(const QString &title) override;
    FormatChoice chooseFormat(const QString &title, const QList<FormatOffer> &formats) override;
    std::optional<QDate> chooseDate(const QString &text, const QString &title) override;

    // The texts of all boxes shown, in order.
    QStringList texts() const;

private:
    void record(Prompt prompt);
};

} // namespace vexa::test
