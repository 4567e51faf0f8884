// A desktop of its own for one test: the component's own fixture, with Qt
// types where the program's tests want them.
#pragma once

#include "DockedHandheld.h" // the component's tests' fixture

#include <QByteArray>
#include <QString>

namespace vexa::test {

using Bytes = std::vector<std::uint8_t>;

// The component's byte utility, for tests of the record layouts: nothing
// need be docked.
vexasync::ByteUtility &componentBytes();

// A copy of the logger program, last changed `ageMinutes` ago.
struct ProgramCopy {
    const char *name;
    int ageMinutes;
};

class TestHandheld : public vexasync::test::DockedHandheld {
public:
    using DockedHandheld::DockedHandheld;

    QString backupFolder(const vexasync::UserInfo &user) const;
    // Copies named at once share their clock.
    void putProgramCopies(const vexasync::UserInfo &user,
                          const std::vector<ProgramCopy> &copies) const;

    QString root() const { return QString::fromStdString(rootPath().string()); }
    QByteArray imageBytes() const
    {
        return QByteArray::fromStdString(DockedHandheld::imageBytes());
    }
};

} // namespace vexa::test
