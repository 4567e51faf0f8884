// The decoders over inputs no logger writes: hostile shapes every decoder
// must survive, and each input the fuzzers ever found a fault with.
#include "FuzzTargets.h"
#include "support/LogCase.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

std::span<const std::uint8_t> asBytes(const QByteArray &b)
{
    return {reinterpret_cast<const std::uint8_t *>(b.constData()),
            static_cast<std::size_t>(b.size())};
}

TEST(FoundInputs, EveryDecoderEndsCleanOnThem)
{
    fuzz::Workbench bench(QCoreApplication::applicationDirPath());
    ASSERT_TRUE(bench.sync.isLoaded()) << qPrintable(bench.sync.loadError());
    const QByteArray shapes[] = {
        {},
        QByteArray(1, '\x01'),
        QByteArray(17, '\xFF'),                                  // one short of the count fields
        QByteArray(64, '\xFF'),                                  // NaN values, status -1, years -1
        QByteArray(63, '\x7F'),                                  // a scan one byte short
        QByteArray("\x00\x00\x40", 3) + QByteArray(200, '\x7F'), // index past its end
    };
    int found = 0;
    for (const fuzz::Target &target : fuzz::targets()) {
        for (const QByteArray &shape : shapes)
            target.run(bench, asBytes(shape));
        const QDir kept(dataPath(QStringLiteral("fuzz-found/") + target.name));
        for (const QString &file : kept.entryList(QDir::Files, QDir::Name)) {
            SCOPED_TRACE(qPrintable(kept.filePath(file)));
            target.run(bench, asBytes(readFile(kept.filePath(file))));
            ++found;
        }
    }
    RecordProperty("found_inputs", found);
}

} // namespace
} // namespace vexa::test
