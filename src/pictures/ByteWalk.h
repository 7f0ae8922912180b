#pragma once

#include "LoadControl.h"
#include "PictureFile.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace zelvo {

// A walk over the structure of a picture file, forwards, a byte here and there: the bytes come
// from memory, or from the file a window at a time, so that a walk over a large file neither
// holds it nor reads it byte by byte.
class ByteWalk
{
public:
    explicit ByteWalk(QByteArrayView bytes)
        : m_window(bytes), m_size(bytes.size()), m_end(bytes.size())
    {
    }
    ByteWalk(const PictureFile& file, const LoadGuard& guard)
        : m_file(&file), m_guard(&guard), m_size(file.size()), m_end(file.size())
    {
    }

    // The byte at offset; nothing past the end, or once the load is to stop. Offsets before the
    // last one asked for may need the file read again.
    [[nodiscard]] std::optional<uchar> at(qint64 offset);
    // The size of what is walked: the file's size when it was opened.
    [[nodiscard]] qint64 size() const { return m_size; }
    // A little-endian 16-bit field.
    [[nodiscard]] std::optional<quint16> le16At(qint64 offset);

private:
    const PictureFile* m_file = nullptr;
    const LoadGuard* m_guard = nullptr;
    QByteArray m_read;
    QByteArrayView m_window;
    qint64 m_windowStart = 0;
    qint64 m_size;
    // Where the bytes end: the size, or less when the file turned out shorter.
    qint64 m_end;
};

} // namespace zelvo
