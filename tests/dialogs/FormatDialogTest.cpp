// The format choice of a several-log save: the offered formats in order,
// files that exist skipped unless "Replace them" is chosen, cancel chooses
// nothing.
#include "dialogs/FormatDialog.h"
#include "dialogs/QtUserInterface.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace vexa {
namespace {

TEST(FormatDialog, OffersEveryFormatAndSkipsExistingFilesUnlessTold)
{
    const QList<FormatOffer> offers = {{"CSV", "Comma-delimited text (*.csv)"},
                                       {"MLG", "MegaLogViewer binary log (*.mlg)"}};
    const struct {
        const char *what;
        int row;
        bool replace;
        bool accept;
        FormatChoice chosen;
    } cases[] = {
        {"as offered", 0, false, true, {"CSV", false}},
        {"another format, replacing", 1, true, true, {"MLG", true}},
        {"cancelled", 1, true, false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QtUserInterface ui;
        // Answered once it is open, as the user would.
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<FormatDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto *formats = dialog->findChild<QComboBox *>("cboFormat");
            ASSERT_EQ(formats->count(), 2);
            EXPECT_EQ(formats->itemText(1), "MegaLogViewer binary log (*.mlg)");
            EXPECT_TRUE(dialog->findChild<QRadioButton *>("optSkip")->isChecked());
            formats->setCurrentIndex(c.row);
            dialog->findChild<QRadioButton *>("optReplace")->setChecked(c.replace);
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            buttons->button(c.accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
        const FormatChoice chosen = ui.chooseFormat("Save logs as", offers);
        EXPECT_EQ(chosen.format, c.chosen.format);
        EXPECT_EQ(chosen.replaceExisting, c.chosen.replaceExisting);
    }
}

} // namespace
} // namespace vexa
