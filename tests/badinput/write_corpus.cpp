// zelvo_badcorpus FOLDER: writes every damaged picture of the test corpus into FOLDER.

#include "BadPictures.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: zelvo_badcorpus FOLDER\n", stderr);
        return 2;
    }
    const QString folder = arguments.at(1);
    if (!QDir().mkpath(folder) ||
        !zelvo::test::writeBadPictures(zelvo::test::badPictures(), folder)) {
        std::fprintf(stderr, "zelvo_badcorpus: cannot write into %s\n", qPrintable(folder));
        return 1;
    }
    return 0;
}
