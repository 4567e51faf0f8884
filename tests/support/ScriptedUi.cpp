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
    Prompt prompt;
    prompt.kind = Prompt::Message;
    prompt.text = text;
    prompt.title = title;
    prompt.icon = icon;
    record(prompt);
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
    Prompt prompt;
    prompt.kind = Prompt::Question;
    prompt.text = text;
    prompt.title = title;
    record(prompt);
    return next(answers, "question: " + text);
}

SaveFileChoice ScriptedUi::chooseSaveFile(const QString &title, const QList<FileFilter> &filters,
                                          const QString &suggested)
{
    Prompt prompt;
    prompt.kind = Prompt::SaveFile;
    prompt.title = title;
    prompt.filters = filters;
    prompt.suggested = suggested;
    record(prompt);
    return next(files, "file-save dialog");
}

SaveLocation ScriptedUi::chooseSaveLocation(bool rirodFormats)
{
    Prompt prompt;
    prompt.kind = Prompt::SaveLocation;
    prompt.rirodFormats = rirodFormats;
    record(prompt);
    return next(locations, "save-location dialog");
}

QString ScriptedUi::chooseFolder(const QString &title)
{
    Prompt prompt;
    prompt.kind = Prompt::Folder;
    prompt.title = title;
    record(prompt);
    return next(folders, "folder choice");
}

FormatChoice ScriptedUi::chooseFormat(const QString &title, const QList<FormatOffer> &formats)
{
    Prompt prompt;
    prompt.kind = Prompt::Format;
    prompt.title = title;
    prompt.formats = formats;
    record(prompt);
    return next(formatChoices, "format choice");
}

std::optional<QDate> ScriptedUi::chooseDate(const QString &text, const QString &title)
{
    Prompt prompt;
    prompt.kind = Prompt::Date;
    prompt.text = text;
    prompt.title = title;
    record(prompt);
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
