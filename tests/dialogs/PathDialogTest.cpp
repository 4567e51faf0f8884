// The save-location dialog with remembered paths and drives of its own.
#include "dialogs/PathDialog.h"
#include "dialogs/QtUserInterface.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace vexa {
namespace {

class RecordingSettings final : public SettingsStore {
public:
    QMap<QString, QString> values;
    QStringList writes; // "section/key=value", in order

    QString read(const QString &section, const QString &key, const QString &fallback) override
    {
        return values.value(section + "/" + key, fallback);
    }
    void write(const QString &section, const QString &key, const QString &value) override
    {
        values[section + "/" + key] = value;
        writes << section + "/" + key + "=" + value;
    }
};

// Two drives of our own besides the root volume; B has no medium in it.
class FakeVolumes final : public VolumeSource {
public:
    QTemporaryDir a, b;
    QList<Volume> volumes() override
    {
        return {{"/", "/"},
                {"A:", QDir::toNativeSeparators(a.path())},
                {"B:", QDir::toNativeSeparators(b.path())}};
    }
    bool isReadable(const Volume &volume) override { return volume.name != "B:"; }
};

struct Dialog {
    RecordingSettings settings;
    FakeVolumes volumes;
    std::unique_ptr<PathDialog> dialog;

    void open(bool rirod = true)
    {
        dialog = std::make_unique<PathDialog>(rirod, settings, volumes);
    }
    template <typename T> T *control(const char *name)
    {
        return dialog->findChild<T *>(QLatin1String(name));
    }
    QStringList formats()
    {
        QStringList all;
        for (int i = 0; i < control<QComboBox>("cboFileType")->count(); ++i)
            all << control<QComboBox>("cboFileType")->itemText(i);
        return all;
    }
    SaveLocation ok()
    {
        QTest::mouseClick(control<QPushButton>("OKButton"), Qt::LeftButton);
        return dialog->location();
    }
    QString native(const QString &path) { return QDir::toNativeSeparators(path); }
};

TEST(PathDialog, FirstRunOffersTheRootFolderAndTheFirstFormat)
{
    Dialog d;
    d.open();
    EXPECT_EQ(d.dialog->windowTitle(), "Save Log Files");
    EXPECT_EQ(d.control<QLabel>("Label1")->text(), "Save log files as:");
    EXPECT_EQ(d.formats(), (QStringList{"Comma-delimited (*.csv)", "Space-delimited (*.txt)",
                                        "EFILive format(*.efi)"}));
    EXPECT_EQ(d.dialog->currentDrive(), SavedPaths::defaultDrive());
    EXPECT_EQ(d.dialog->folderPath(), QString(QDir::separator()));
    const SaveLocation chosen = d.ok();
    EXPECT_EQ(chosen.folder, QString(QDir::separator())) << "a drive's root ends in a separator";
    EXPECT_EQ(chosen.format, "CSV");

    d.open(false); // other tabs offer text only
    EXPECT_EQ(d.formats(), QStringList{"Space-delimited (*.txt)"});
    EXPECT_EQ(d.ok().format, "TXT");

    d.settings.writes.clear();
    d.open();
    QTest::mouseClick(d.control<QPushButton>("CancelButton"), Qt::LeftButton);
    EXPECT_TRUE(d.dialog->location().folder.isEmpty());
    EXPECT_EQ(d.dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(d.settings.writes.isEmpty()) << "Cancel remembers nothing";
}

TEST(PathDialog, OkRemembersFolderThenDriveButNotTheFormat)
{
    Dialog d;
    ASSERT_TRUE(QDir(d.volumes.a.path()).mkpath("logs/2004"));
    const QString folder = d.native(d.volumes.a.filePath("logs/2004"));
    d.settings.values = {{"SavedPaths/Drive", "A:"}, {"SavedPaths/Dir", folder}};
    d.open();
    EXPECT_EQ(d.dialog->currentDrive(), "A:");
    EXPECT_EQ(d.dialog->folderPath(), folder);
    d.control<QComboBox>("cboFileType")->setCurrentIndex(2);
    const SaveLocation chosen = d.ok();
    EXPECT_EQ(chosen.folder, folder) << "a folder has no separator at its end";
    EXPECT_EQ(chosen.format, "EFI");
    EXPECT_EQ(d.settings.writes, (QStringList{"SavedPaths/Dir=" + folder, "SavedPaths/Drive=A:"}));

    d.open();
    EXPECT_EQ(d.control<QComboBox>("cboFileType")->currentIndex(), 0);
    EXPECT_EQ(d.dialog->folderPath(), folder);
    d.ok();
    EXPECT_EQ(d.settings.writes.size(), 4) << "every OK writes both, even unchanged";
}

TEST(PathDialog, TheRememberedFolderIsScrolledIntoView)
{
    // Once the folder list has filled in, the last of many folders is far
    // below the top.
    Dialog d;
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(QDir(d.volumes.a.path()).mkpath(QString("f%1").arg(i, 2, 10, QChar('0'))));
    d.settings.values = {{"SavedPaths/Drive", "A:"},
                         {"SavedPaths/Dir", d.native(d.volumes.a.filePath("f39"))}};
    d.open();
    d.dialog->show();
    auto *tree = d.control<QTreeView>("Dir1");
    const auto folders = [&] { return tree->model()->rowCount(tree->currentIndex().parent()); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return folders() == 40; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(tree->currentIndex().data().toString(), "f39");
    EXPECT_TRUE(tree->viewport()->rect().intersects(tree->visualRect(tree->currentIndex())));
}

TEST(PathDialog, ARememberedDriveOrFolderThatIsGoneIsSkipped)
{
    const struct {
        const char *drive, *dir;
        const char *expectedDrive;
    } cases[] = {
        {"Z:", "/nowhere", "/"},  // no such drive
        {"B:", "/", "/"},         // no medium
        {"A:", "/nowhere", "A:"}, // the drive stays; its root is shown
    };
    for (const auto &c : cases) {
        Dialog d;
        d.settings.values = {{"SavedPaths/Drive", c.drive}, {"SavedPaths/Dir", c.dir}};
        d.open();
        EXPECT_EQ(d.dialog->currentDrive(), c.expectedDrive) << c.drive;
        const QString root = QString(c.expectedDrive) == "A:" ? d.native(d.volumes.a.path()) : "/";
        EXPECT_EQ(d.dialog->folderPath(), root) << c.drive;
        EXPECT_TRUE(d.settings.writes.isEmpty());
    }
}

TEST(PathDialog, ADriveThatCantBeReadKeepsThePreviousChoice)
{
    Dialog d;
    d.settings.values = {{"SavedPaths/Drive", "A:"}};
    d.open();
    auto *drives = d.control<QComboBox>("Drive1");
    const int b = drives->findText("B:");
    drives->setCurrentIndex(b);
    emit drives->activated(b);
    EXPECT_EQ(d.control<QLabel>("lblDriveStatus")->text(),
              "Drive B: can't be read; A: is still chosen.");
    EXPECT_EQ(drives->currentText(), "A:");
    EXPECT_EQ(d.dialog->folderPath(), d.native(d.volumes.a.path()));

    const int root = drives->findText("/");
    emit drives->activated(root);
    EXPECT_EQ(d.dialog->currentDrive(), "/");
    EXPECT_EQ(d.dialog->folderPath(), "/");
    EXPECT_TRUE(d.control<QLabel>("lblDriveStatus")->text().isEmpty());
}

// The real box: its answer is the button pressed.
TEST(QtUserInterface, AQuestionAnswersWithTheButtonPressed)
{
    QtUserInterface ui;
    for (const auto button : {QMessageBox::Yes, QMessageBox::No}) {
        QTimer::singleShot(0, [button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), "Delete all logs?");
            box->button(button)->click();
        });
        EXPECT_EQ(ui.askYesNo("Delete all logs?", "VEXA Synch"), button == QMessageBox::Yes);
    }
}

} // namespace
} // namespace vexa
