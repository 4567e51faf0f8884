// The drives the save-location dialog offers: on Windows the drive letters,
// elsewhere the mounted volumes, named by their mount point.
#pragma once

#include <QList>
#include <QString>

namespace vexa {

struct Volume {
    QString name;     // as the drive list shows and remembers it: "C:", "/", "/media/usb"
    QString rootPath; // its root folder
};

class VolumeSource {
public:
    virtual ~VolumeSource() = default;
    virtual QList<Volume> volumes() = 0;
    // Whether the volume's root can be listed now (a card reader without a
    // card can't).
    virtual bool isReadable(const Volume &volume) = 0;
};

class SystemVolumes final : public VolumeSource {
public:
    QList<Volume> volumes() override;
    bool isReadable(const Volume &volume) override;
};

} // namespace vexa
