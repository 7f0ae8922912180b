#include "HugeJpeg.h"

#include <QFile>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace zelvo::bench {

bool writeHugeJpeg(const QString& path, int width, int height, int quality, bool progressive)
{
    const std::string command = "cjpeg -quality " + std::to_string(quality) +
                                (progressive ? " -progressive" : "") + " -outfile '" +
                                QFile::encodeName(path).toStdString() + "'";
    FILE* encoder = ::popen(command.c_str(), "w");
    if (!encoder)
        return false;
    std::fprintf(encoder, "P6\n%d %d\n255\n", width, height);
    std::vector<unsigned char> row(std::size_t(width) * 3);
    std::uint32_t state = 0x2545F491u;
    bool written = true;
    for (int y = 0; y < height && written; ++y) {
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int noise = int(state & 15);
            unsigned char* pixel = &row[std::size_t(x) * 3];
            pixel[0] = static_cast<unsigned char>((x >> 6) + noise);
            pixel[1] = static_cast<unsigned char>((y >> 6) + noise);
            pixel[2] = static_cast<unsigned char>(((x + y) >> 7) + noise);
        }
        written = std::fwrite(row.data(), 1, row.size(), encoder) == row.size();
    }
    const int status = ::pclose(encoder);
    return written && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace zelvo::bench
