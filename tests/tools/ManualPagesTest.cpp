// The manual pages name the formats by hand: every format the tools write
// must stand in each page that lists them.
#include "export/OutputFormat.h"
#include "writers/EveryWriter.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

TEST(ManualPages, NameEveryFormatTheToolsWrite)
{
    registerEveryWriter();
    for (const char *page : {"vexa-export.1.scd", "vexa-logbook.1.scd"}) {
        QFile file(QStringLiteral(VEXA_TEST_DATA "/../../docs/") + QLatin1String(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page;
        const QString text = QString::fromUtf8(file.readAll());
        for (const OutputFormat &format : outputFormats())
            EXPECT_TRUE(text.contains(QLatin1Char('*') + format.code + QLatin1Char('*')))
                << page << " lacks " << format.code.toStdString();
    }
}

} // namespace
} // namespace vexa::test
