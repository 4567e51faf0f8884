// A file the user names in a window of the program's own (plot, table,
// scatter), written there: the dialog and any error box belong to that
// window, so that they raise it and not the main window.
#pragma once

#include "UserInterface.h"

#include <functional>

namespace vexa {

// `write` throws RuntimeError; its error is shown under "There was an error
// saving the file.". Cancelling writes nothing.
void saveChosenFile(UserInterface &ui, QObject *window, const QString &title,
                    const FileFilter &filter, const std::function<void(const QString &)> &write);

} // namespace vexa
