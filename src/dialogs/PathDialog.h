// dlgPath: where several logs are saved, and in which format. It remembers
// the drive and folder between runs; the format always starts at the first.
#pragma once

#include "desktop/SavedPaths.h"
#include "desktop/Volumes.h"

#include "core/UserInterface.h"

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace vexa {

class DriveFolderFilter;

class PathDialog : public QDialog {
    Q_OBJECT

public:
    PathDialog(bool rirodFormats, SettingsStore &settings, VolumeSource &volumes,
               QWidget *parent = nullptr);
    ~PathDialog() override;

    // SaveFolder and SaveFormat: both empty unless OK was pressed.
    SaveLocation location() const { return m_location; }
    // Dir1's path: a drive's root ends in a separator, other folders don't.
    QString folderPath() const;
    QString currentDrive() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls(bool rirodFormats);
    void revealFolderSoon();
    void onDriveChosen(int index);
    void onOk();
    // False, and nothing changes, when the drive is missing or unreadable.
    bool setDrive(const QString &name);
    bool setFolderPath(const QString &path);

    SavedPaths m_saved;
    VolumeSource &m_volumes;
    QList<Volume> m_volumeList;
    int m_driveIndex = -1;
    SaveLocation m_location;
    bool m_revealFolder = false; // until the user scrolls or picks

    QFileSystemModel *m_files = nullptr;
    DriveFolderFilter *m_driveFolders = nullptr;

    QLabel *Label1 = nullptr;
    QComboBox *cboFileType = nullptr;
    QComboBox *Drive1 = nullptr;
    QTreeView *Dir1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QLabel *lblDriveStatus = nullptr;
};

} // namespace vexa
