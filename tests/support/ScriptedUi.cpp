#include "ScriptedUi.h"

#include <gtest/gtest.h>

namespace vexa::test {

void ScriptedUi::record(Prompt prompt)
{
    prompts.push_back(prompt);
    if (whileOpen)
        whileOpen(prompt);
}

void ScriptedUi::showMessage(const QString &text, const QString &title, Icon icon)
{
    record({Prompt::Message, text, title, icon, {}, false});
}

bool ScriptedUi::askYesNo(const QString &text, const QString &title)
{
    record({Prompt::Question, text, title, Icon::None, {}, false});
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

SaveFileChoice ScriptedUi::chooseSaveFile(const QString &title, const QList<FileFilter> &filters)
{
    record({Prompt::SaveFile, QString(), title, Icon::None, filters, false});
    if (files.empty()) {
        ADD_FAILURE() << "unexpected file-save dialog";
        return {};
    }
    const SaveFileChoice choice = files.front();
    files.pop_front();
    return choice;
}

SaveLocation ScriptedUi::chooseSaveLocation(bool rirodFormats)
{
    record({Prompt::SaveLocation, QString(), QString(), Icon::None, {}, rirodFormats});
    if (locations.empty()) {
        ADD_FAILURE() << "unexpected save-location dialog";
        return {};
    }
    const SaveLocation location = locations.front();
    locations.pop_front();
    return location;
}

QStringList ScriptedUi::texts() const
{
    QStringList all;
    for (const Prompt &p : prompts)
        all << p.text;
    return all;
}

} // namespace vexa::test
