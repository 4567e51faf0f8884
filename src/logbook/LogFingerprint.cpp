#include "LogFingerprint.h"

#include "format/IndexRecord.h"

#include <QCryptographicHash>

namespace vexa {

namespace {

void addSized(QCryptographicHash &hash, const RecordBytes &record)
{
    const auto n = static_cast<std::uint32_t>(record.size());
    const char size[4] = {char(n), char(n >> 8), char(n >> 16), char(n >> 24)};
    hash.addData(QByteArrayView(size, 4));
    hash.addData(QByteArrayView(reinterpret_cast<const char *>(record.data()),
                                static_cast<qsizetype>(record.size())));
}

} // namespace

QByteArray logFingerprint(vexasync::ByteUtility &bytes, LogKind kind,
                          const RecordBytes &indexRecord, const std::vector<RecordBytes> &scans)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const char kindByte = static_cast<char>(kind);
    hash.addData(QByteArrayView(&kindByte, 1));
    RecordBytes index = indexRecord;
    if (kind == LogKind::Rirod)
        IndexRecord::setFirstScanIn(bytes, index, 0);
    addSized(hash, index);
    for (const RecordBytes &scan : scans)
        addSized(hash, scan);
    return hash.result();
}

} // namespace vexa
