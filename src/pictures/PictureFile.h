#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace zelvo {

// A picture file open for reading. Opening never blocks and never follows a swap of the name:
// the descriptor is opened without waiting for a writer, and it is the open descriptor whose type
// is checked, so a pipe or a device put in the file's place, before or during the open, is
// refused, and every byte read comes from that descriptor.
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

    // The open descriptor, for a reader that reads from it directly.
    [[nodiscard]] int descriptor() const { return m_descriptor; }
    // The size when the file was opened.
    [[nodiscard]] qint64 size() const { return m_size; }

    // Reads up to maxBytes from where the last read ended: fewer at the end of the file, -1 on
    // an error.
    [[nodiscard]] qint64 read(char* into, qint64 maxBytes) const;
    // Up to maxBytes more, appended to bytes, which holds every byte read before; false on an
    // error.
    [[nodiscard]] bool readMore(QByteArray& bytes, qint64 maxBytes) const;

private:
    PictureFile(int descriptor, qint64 size) : m_descriptor(descriptor), m_size(size) {}

    int m_descriptor;
    qint64 m_size;
};

} // namespace zelvo
