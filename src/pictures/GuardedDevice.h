#pragma once

#include "LoadControl.h"
#include "PictureFile.h"

#include <QByteArrayView>
#include <QIODevice>

namespace zelvo {

// What Qt's picture readers read from: the bytes of a picture file, or bytes already in memory,
// as a device whose reads fail once the load is to stop, so that a reader stops within its next
// read (Qt's readers read a row, a chunk of a few kilobytes, or a buffer of 16 kB at a time).
class GuardedDevice : public QIODevice
{
public:
    GuardedDevice(const PictureFile& file, const LoadGuard& guard);
    GuardedDevice(QByteArrayView bytes, const LoadGuard& guard);

    [[nodiscard]] qint64 size() const override;
    bool seek(qint64 offset) override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const PictureFile* m_file = nullptr;
    QByteArrayView m_bytes;
    const LoadGuard& m_guard;
    // Where the next read starts: the device's own position, ahead of pos() by what QIODevice
    // holds in its buffer.
    qint64 m_at = 0;
};

} // namespace zelvo
