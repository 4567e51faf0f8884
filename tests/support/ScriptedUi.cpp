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

namespace {

// The next answer the test gave; running out fails the test.
template <typename T> T next(std::deque<T> &answers, const QString &what)
{
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected " << what.toStdString();
        return {};
    }
    const T answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

bool ScriptedUi::askYesNo(const QString &text, const QString &title)
{
    record({Prompt::Question, text, title, Icon::None, {}, false});
    return next(answers, "question: " + text);
}

SaveFileChoice ScriptedUi::chooseSaveFile(const QString &title, const QList<FileFilter> &filters)
{
    record({Prompt::SaveFile, QString(), title, Icon::None, filters, false});
    return next(files, "file-save dialog");
}

SaveLocation ScriptedUi::chooseSaveLocation(bool rirodFormats)
{
    record({Prompt::SaveLocation, QString(), QString(), Icon::None, {}, rirodFormats});
    return next(locations, "save-location dialog");
}

std::optional<QDate> ScriptedUi::chooseDate(const QString &text, const QString &title)
{
    record({Prompt::Date, text, title, Icon::None, {}, false});
    return next(dates, "date question: " + text);
}

QStringList ScriptedUi::texts() const
{
    QStringList all;
    for (const Prompt &p : prompts)
        all << p.text;
    return all;
}

} // namespace vexa::test
