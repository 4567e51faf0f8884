// One libFuzzer program per target; the build names the target.
#include "FuzzTargets.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace {

vexa::fuzz::Workbench *bench = nullptr;
const vexa::fuzz::Target *target = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    // The component sits beside the program, as in the build folder.
    bench = new vexa::fuzz::Workbench(QFileInfo(QString::fromLocal8Bit((*argv)[0])).absolutePath());
    target = vexa::fuzz::findTarget(VEXA_FUZZ_TARGET);
    if (!target || !bench->sync.isLoaded()) {
        std::fprintf(stderr, "no target %s, or no component: %s\n", VEXA_FUZZ_TARGET,
                     qPrintable(bench->sync.loadError()));
        std::exit(2);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    target->run(*bench, {data, size});
    return 0;
}
