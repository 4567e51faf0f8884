#include "PathDialog.h"

#include "Twips.h"
#include "export/OutputFormat.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QTreeView>

namespace vexa {

namespace {

// Paths compared in Qt's form, with '/' separators.
bool isInside(const QString &path, const QString &folder)
{
    if (path == folder)
        return true;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix, Qt::CaseInsensitive);
}

QString qtPath(const QString &path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// Told by the bracketed pattern that ends the text, its last seven
// characters; a text no format ends with reads as the last format that has one.
QString formatOfComboText(const QString &text)
{
    QString code;
    for (const OutputFormat &format : outputFormats()) {
        if (format.saveLocationText.isEmpty())
            continue;
        code = format.code;
        if (format.saveLocationText.right(7) == text.right(7))
            break;
    }
    return code;
}

} // namespace

// The folders of one drive: the drive's root, what lies below it, and the
// folders above it that the tree needs to reach it.
class DriveFolderFilter final : public QSortFilterProxyModel {
public:
    explicit DriveFolderFilter(QObject *parent) : QSortFilterProxyModel(parent) {}

    void setDriveRoot(const QString &root)
    {
        m_root = qtPath(root);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const auto *files = static_cast<const QFileSystemModel *>(sourceModel());
        const QString path = files->filePath(files->index(row, 0, parent));
        return isInside(path, m_root) || isInside(m_root, path);
    }

private:
    QString m_root;
};

PathDialog::PathDialog(bool rirodFormats, SettingsStore &settings, VolumeSource &volumes,
                       QWidget *parent)
    : QDialog(parent), m_saved(settings), m_volumes(volumes), m_volumeList(volumes.volumes())
{
    buildControls(rirodFormats);

    // The list starts on the default drive; what was remembered replaces it
    // when it is still there. Failures here are silent.
    if (!setDrive(SavedPaths::defaultDrive()) && !m_volumeList.isEmpty())
        setDrive(m_volumeList.first().name);
    setDrive(m_saved.drive());
    setFolderPath(m_saved.dir());
}

PathDialog::~PathDialog() = default;

void PathDialog::buildControls(bool rirodFormats)
{
    const Twips tw(this);
    setObjectName(QStringLiteral("dlgPath"));
    setWindowTitle(QStringLiteral("Save Log Files"));
    setModal(true);
    // The positions were laid out for an 8-point face.
    QFont face = font();
    face.setPointSize(8);
    setFont(face);
    // The client area, with a line below the folder list for drive problems.
    setFixedSize(tw.px(6030), tw.px(3195 + 255));

    Label1 = new QLabel(QStringLiteral("Save log files as:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    tw.place(Label1, 120, 120, 1455, 255);

    cboFileType = new QComboBox(this);
    cboFileType->setObjectName(QStringLiteral("cboFileType"));
    for (const OutputFormat *format : windowFormats(rirodFormats))
        cboFileType->addItem(format->saveLocationText);
    cboFileType->setCurrentIndex(0);
    tw.place(cboFileType, 1560, 120, 2055, 315);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    for (const Volume &v : m_volumeList)
        Drive1->addItem(v.name);
    Drive1->setCurrentIndex(-1);
    tw.place(Drive1, 120, 600, 4455, 315);

    m_files = new QFileSystemModel(this);
    m_files->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_files->setRootPath(QString());
    m_driveFolders = new DriveFolderFilter(this);
    m_driveFolders->setSourceModel(m_files);
    Dir1 = new QTreeView(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setModel(m_driveFolders);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < m_files->columnCount(); ++column)
        Dir1->hideColumn(column);
    tw.place(Dir1, 120, 1080, 5775, 1890);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    tw.place(OKButton, 4680, 120, 1215, 375);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    tw.place(CancelButton, 4680, 600, 1215, 375);

    lblDriveStatus = new QLabel(this);
    lblDriveStatus->setObjectName(QStringLiteral("lblDriveStatus"));
    tw.place(lblDriveStatus, 120, 3075, 5775, 255);

    // The folder list fills in as the file system answers, which moves the
    // chosen folder down out of sight: bring it back until the user moves.
    connect(m_files, &QFileSystemModel::directoryLoaded, this, &PathDialog::revealFolderSoon);
    connect(m_driveFolders, &QAbstractItemModel::layoutChanged, this,
            &PathDialog::revealFolderSoon);
    Dir1->viewport()->installEventFilter(this);
    Dir1->installEventFilter(this);
    connect(Dir1->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { m_revealFolder = false; });

    connect(Drive1, &QComboBox::activated, this, &PathDialog::onDriveChosen);
    connect(OKButton, &QPushButton::clicked, this, &PathDialog::onOk);
    connect(CancelButton, &QPushButton::clicked, this, &PathDialog::reject);
}

bool PathDialog::setDrive(const QString &name)
{
    const auto it = std::find_if(m_volumeList.begin(), m_volumeList.end(), [&](const Volume &v) {
        return v.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == m_volumeList.end() || !m_volumes.isReadable(*it))
        return false;
    m_driveIndex = static_cast<int>(it - m_volumeList.begin());
    Drive1->setCurrentIndex(m_driveIndex);
    // The drive change: the folder list shows the new drive from its root.
    const QString root = qtPath(it->rootPath);
    m_driveFolders->setDriveRoot(root);
    const QString above = QFileInfo(root).isRoot() ? QString() : QFileInfo(root).path();
    Dir1->setRootIndex(above.isEmpty() ? QModelIndex()
                                       : m_driveFolders->mapFromSource(m_files->index(above)));
    setFolderPath(it->rootPath);
    return true;
}

bool PathDialog::setFolderPath(const QString &path)
{
    if (m_driveIndex < 0)
        return false;
    const QString wanted = qtPath(path);
    const QString root = qtPath(m_volumeList[m_driveIndex].rootPath);
    // A bare separator is the drive's root folder.
    const QString folder = wanted == QStringLiteral("/") || wanted.isEmpty() ? root : wanted;
    if (!isInside(folder, root) || !QFileInfo(folder).isDir())
        return false;
    const QModelIndex index = m_driveFolders->mapFromSource(m_files->index(folder));
    if (!index.isValid())
        return false;
    Dir1->setCurrentIndex(index);
    // Show the way to the folder and the folders inside it.
    for (QModelIndex i = index; i.isValid(); i = i.parent())
        Dir1->expand(i);
    m_revealFolder = true;
    revealFolderSoon();
    return true;
}

void PathDialog::revealFolderSoon()
{
    // After the model has sorted what it just loaded.
    if (m_revealFolder)
        QTimer::singleShot(0, this, [this] {
            if (m_revealFolder)
                Dir1->scrollTo(Dir1->currentIndex());
        });
}

void PathDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    revealFolderSoon();
}

bool PathDialog::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        m_revealFolder = false;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

QString PathDialog::folderPath() const
{
    const QModelIndex current = m_driveFolders->mapToSource(Dir1->currentIndex());
    const QString path = current.isValid() ? m_files->filePath(current) : QString();
    if (path.isEmpty())
        return m_driveIndex >= 0 ? m_volumeList[m_driveIndex].rootPath : QString();
    return QDir::toNativeSeparators(path);
}

QString PathDialog::currentDrive() const
{
    return m_driveIndex >= 0 ? m_volumeList[m_driveIndex].name : QString();
}

void PathDialog::onDriveChosen(int index)
{
    const QString previous = currentDrive();
    const QString chosen = Drive1->itemText(index);
    if (setDrive(chosen)) {
        lblDriveStatus->clear();
        return;
    }
    lblDriveStatus->setText(
        QStringLiteral("Drive %1 can't be read; %2 is still chosen.").arg(chosen, previous));
    Drive1->setCurrentIndex(m_driveIndex);
}

void PathDialog::onOk()
{
    m_location.folder = folderPath();
    m_location.format = formatOfComboText(cboFileType->currentText());
    m_saved.remember(m_location.folder, currentDrive());
    accept();
}

} // namespace vexa
