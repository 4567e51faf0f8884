#include "ExportFixture.h"

#include "catalogue/EfiLogWriter.h"
#include "datalog/DatalogWriters.h"
#include "datalog/MlgLogWriter.h"
#include "datalog/MslLogWriter.h"
#include "export/LogFile.h"
#include "export/TextLogWriter.h"

namespace vexa::test {

ExportFixture::ExportFixture(TestHandheld::Mode mode)
    : handheld(mode), bytes(sync.createByteUtility()),
      dates(QLocale(QLocale::English, QLocale::UnitedStates))
{
    host.onStatus = [this](const QString &text) { statuses << text; };
    registerTextLogWriters();
    registerEfiLogWriter();
    registerDatalogWriters();
}

LogIndexEntry ExportFixture::entry(int line) const
{
    return readIndexEntry(*bytes, handheld.open("RirodIndex")->readByIndex(line), LogKind::Rirod);
}

ExportContext ExportFixture::context()
{
    m_scans = handheld.create("RirodData");
    return {m_scans.get(), *bytes, host, ui, dates};
}

ScanRun ExportFixture::write(Writer writer, const LogIndexEntry &entry, QIODevice *out,
                             vexasync::RecordAdapter *scans)
{
    if (!out) {
        m_buffer.close();
        m_buffer.setData(QByteArray());
        m_buffer.open(QIODevice::ReadWrite);
        out = &m_buffer;
    }
    ExportContext c = context();
    if (scans)
        c.scanDatabase = scans;
    switch (writer) {
    case Writer::Csv:
        return writeScanText(*out, entry, TextFormat::Csv, c);
    case Writer::Txt:
        return writeScanText(*out, entry, TextFormat::Txt, c);
    case Writer::Efi:
        return writeEfiLog(*out, entry, c);
    case Writer::Msl:
        return writeMslLog(*out, entry, c);
    case Writer::Mlg:
        return writeMlgLog(*out, entry, c);
    }
    return {};
}

const char *writerName(Writer writer)
{
    switch (writer) {
    case Writer::Csv:
        return "CSV";
    case Writer::Txt:
        return "TXT";
    case Writer::Efi:
        return "EFI";
    case Writer::Msl:
        return "MSL";
    case Writer::Mlg:
        return "MLG";
    }
    return "";
}

} // namespace vexa::test
