// Folder listing: a folder of 100,000 files shown in the file list box with the program's
// pattern, beside reading the folder and sorting the names in plain C++.
#include "common/Report.h"
#include "widgets/FileListBox.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace zelvo::bench;

constexpr int Rounds = 9;
constexpr int FileCount = 100000;
constexpr char Pattern[] = "*.bmp;*.jpeg;*.jpg;*.gif;&;*.vuq";

struct Extension
{
    const char* suffix;
    bool listed;
};
// Names the pattern takes, in any letter case, and names it leaves out.
constexpr std::array<Extension, 12> Extensions{{{".bmp", true},
                                                {".jpg", true},
                                                {".JPEG", true},
                                                {".gif", true},
                                                {".Vuq", true},
                                                {".ico", false},
                                                {".png", false},
                                                {".txt", false},
                                                {".jpg.bak", false},
                                                {".bmpx", false},
                                                {"", false},
                                                {".GIF", true}}};

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "bench_listing: %s\n", what);
    std::exit(1);
}

// Empty files with mixed-case names; returns how many of them the pattern lists.
int makeFolder(const QString& folder)
{
    int listed = 0;
    for (int i = 0; i < FileCount; ++i) {
        const Extension& extension = Extensions[std::size_t(i) % Extensions.size()];
        const char* stem = i % 3 == 0 ? "Photo_" : (i % 3 == 1 ? "scan-" : "IMG");
        const QString name =
            QString::asprintf("%s%06d%s", stem, (i * 7919) % FileCount, extension.suffix);
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_EXCL, 0644);
        if (fd < 0)
            fail("cannot create the test files");
        ::close(fd);
        listed += extension.listed ? 1 : 0;
    }
    return listed;
}

std::vector<std::string> readAndSort(const QByteArray& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        fail("cannot read the folder");
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("many"));
    const QString empty = root.filePath(QStringLiteral("empty"));
    if (!QDir().mkpath(folder) || !QDir().mkpath(empty))
        fail("cannot create the test folders");
    const int expected = makeFolder(folder);

    zelvo::FileListBox box;
    box.resize(134, 134);
    box.setPattern(QLatin1String(Pattern));
    box.setVisible(true);

    const auto ours = [&] {
        // From another folder, as when the user browses to this one.
        (void)box.setPath(empty);
        QApplication::processEvents();
        const Clock::time_point start = Clock::now();
        if (!box.setPath(folder))
            fail("the file list cannot read the folder");
        const int count = box.listCount();
        box.viewport()->repaint();
        const double ms = millisecondsSince(start);
        if (count != expected)
            fail("the file list shows the wrong number of files");
        return ms;
    };
    const QByteArray encoded = QFile::encodeName(folder);
    const auto baseline = [&] {
        const Clock::time_point start = Clock::now();
        const std::vector<std::string> names = readAndSort(encoded);
        const double ms = millisecondsSince(start);
        if (names.size() != std::size_t(FileCount))
            fail("readdir saw the wrong number of files");
        return ms;
    };

    const Samples samples = interleave(Rounds, ours, baseline);
    Table table(QStringLiteral("Folder listing: %1 files, %2 listed")
                    .arg(FileCount)
                    .arg(expected)
                    .toStdString(),
                "ms", Rounds);
    table.add("setPath+listCount+repaint vs readdir+sort", samples, 3.0);
    return table.print() ? 0 : 2;
}
