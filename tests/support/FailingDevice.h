// An output that accepts a number of bytes and then fails every write, like
// a disk that fills up.
#pragma once

#include <QBuffer>

namespace vexa::test {

class FailingDevice final : public QBuffer {
public:
    explicit FailingDevice(qint64 capacity) : m_capacity(capacity) { open(QIODevice::ReadWrite); }

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        if (pos() + size > m_capacity) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, size);
    }

private:
    qint64 m_capacity;
};

} // namespace vexa::test
