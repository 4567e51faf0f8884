#include "ChosenFile.h"

#include "RuntimeError.h"

namespace vexa {

void saveChosenFile(UserInterface &ui, QObject *window, const QString &title,
                    const FileFilter &filter, const std::function<void(const QString &)> &write)
{
    struct Owner {
        UserInterface &ui;
        ~Owner() { ui.setDialogOwner(nullptr); }
    } owner{ui};
    ui.setDialogOwner(window);
    const SaveFileChoice choice = ui.chooseSaveFile(title, {filter});
    if (choice.path.isEmpty())
        return;
    try {
        write(choice.path);
    } catch (...) {
        ui.inform(
            errorBoxText(QStringLiteral("There was an error saving the file."), currentError()));
    }
}

} // namespace vexa
