// The window's long commands: they gather what the user chose and hand it to
// the core.
#include "MainWindow.h"

namespace vexa {

void MainWindow::onSave() {}
void MainWindow::onDelete() {}
void MainWindow::onDeleteAll() {}

} // namespace vexa
