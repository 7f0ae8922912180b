#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace zelvo {

// A picture file open for reading. Opening never blocks and never follows a swap of the name:
// the descriptor is opened without waiting for a writer, and it is the open descriptor whose type
// is checked, so a pipe or a device put in the file's place, before or during the open, is
// refused, and every byte read comes from that descriptor. Reads name their offset, so that readers
// of different parts of the file do not disturb each other.
class PictureFile
{
public:
    // Nothing when the name is not a plain file that can be opened for reading.
    [[nodiscard]] static std::optional<PictureFile> open(const QString& path);

    PictureFile(PictureFile&& other) noexcept;
    PictureFile& operator=(PictureFile&&) = delete;
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;
    ~PictureFile();

    // The size when the file was opened.
    [[nodiscard]] qint64 size() const { return m_size; }
    // The time of its last change then, in nanoseconds since the epoch.
    [[nodiscard]] qint64 modified() const { return m_modified; }

    // Reads up to maxBytes from offset: fewer at the end of the file, -1 on an error.
    [[nodiscard]] qint64 readAt(qint64 offset, char* into, qint64 maxBytes) const;
    // Up to maxBytes more, appended to bytes, which holds the file's bytes from its start; false
    // on an error.
    [[nodiscard]] bool readMore(QByteArray& bytes, qint64 maxBytes) const;

    // Whether the file still has the size and modification time it had when it was opened: a
    // file being written grows or changes while it is read.
    [[nodiscard]] bool unchangedSinceOpen() const;

private:
    PictureFile(int descriptor, qint64 size, qint64 modified)
        : m_descriptor(descriptor), m_size(size), m_modified(modified)
    {
    }

    int m_descriptor;
    qint64 m_size;
    qint64 m_modified;
};

} // namespace zelvo
