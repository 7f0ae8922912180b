// The program's pure rules: the size decision, the type values of the options window, the file
// list's wildcards and ordering, the count caption, the picture path, the page placement, and
// which of a view's picture loads runs and is shown.

#include "app/MainWindow.h"
#include "core/PagePlacement.h"
#include "core/PicturePath.h"
#include "core/RepeatRule.h"
#include "core/TileSizes.h"
#include "core/TypeRule.h"
#include "core/Wildcard.h"
#include "pictures/NewestWins.h"
#include "support/DataTable.h"

#include <QImage>
#include <QtTest>

#include <array>
#include <cmath>
#include <optional>

using namespace zelvo;

namespace {

constexpr int NoSize = -1;

// The outer width of the chosen size, or NoSize.
[[nodiscard]] int chosenWidth(const QString& small, const QString& mid, const QString& big)
{
    const std::array<QString, 3> flags{small, mid, big};
    const TileSize* chosen = chooseSize(flags);
    return chosen ? chosen->width : NoSize;
}

[[nodiscard]] const PictureType& typeNamed(const QString& name)
{
    for (const PictureType& type : PictureTypes) {
        if (name == QLatin1String(type.key.name))
            return type;
    }
    qFatal("no type key %s", qPrintable(name));
}

// A picture whose every pixel differs from its neighbours, to catch any shift or smoothing.
[[nodiscard]] QImage distinctPixels(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 37 % 256, y * 59 % 256, (x * 13 + y * 7) % 256));
    }
    return image;
}

// The file names of a folder used by the pattern tables below.
[[nodiscard]] QStringList sampleFolder()
{
    return {QStringLiteral("sea.bmp"),   QStringLiteral("Hill.JPG"),   QStringLiteral("road.jpeg"),
            QStringLiteral("anim.gif"),  QStringLiteral("app.ico"),    QStringLiteral("&"),
            QStringLiteral("notes.vuq"), QStringLiteral("readme.txt"), QStringLiteral("bmp"),
            QStringLiteral("x.bmp.txt"), QStringLiteral("&.bmp")};
}

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void chooseSizeDecision_data();
    void chooseSizeDecision();

    void boxValueForStoredValue_data();
    void boxValueForStoredValue();
    void noTypeRecognisedInStore_data();
    void noTypeRecognisedInStore();
    void storedValueForBox_data();
    void storedValueForBox();

    void wildcards_data();
    void wildcards();
    void pathologicalWildcardFinishes();

    void filterByPattern_data();
    void filterByPattern();
    void sortIgnoresCase();
    void namesDifferingInCaseKeepOneOrder();

    void countCaptions_data();
    void countCaptions();

    void picturePaths_data();
    void picturePaths();

    void pagePlacementFitsOrShrinks_data();
    void pagePlacementFitsOrShrinks();
    void sharpenedForPrintEnlargesByWholePixels_data();
    void sharpenedForPrintEnlargesByWholePixels();

    void copyPlaces_data();
    void copyPlaces();
    void newestLoadWins_data();
    void newestLoadWins();
};

void TestRules::chooseSizeDecision_data()
{
    test::addColumns<QString, QString, QString, int>("small", "mid", "big", "expected");

    // The sizes by their outer widths in twips.
    const int small = 9500;
    const int medium = 12000;
    const int large = 15000;

    QTest::newRow("first run, nothing stored") << ""
                                               << ""
                                               << "" << medium;
    QTest::newRow("Small chosen") << "1"
                                  << "0"
                                  << "0" << small;
    QTest::newRow("Small alone") << "1"
                                 << ""
                                 << "" << small;
    QTest::newRow("Mid chosen") << "0"
                                << "1"
                                << "0" << medium;
    QTest::newRow("Big chosen") << "0"
                                << "0"
                                << "1" << large;
    QTest::newRow("Big alone") << ""
                               << ""
                               << "1" << large;
    QTest::newRow("Small and Big: the last wins") << "1"
                                                  << "0"
                                                  << "1" << large;
    QTest::newRow("Small and Big, Mid absent") << "1"
                                               << ""
                                               << "1" << large;
    QTest::newRow("Small and Mid") << "1"
                                   << "1"
                                   << "" << medium;
    QTest::newRow("Mid and Big") << "0"
                                 << "1"
                                 << "1" << large;
    QTest::newRow("all three") << "1"
                               << "1"
                               << "1" << large;
    QTest::newRow("all off") << "0"
                             << "0"
                             << "0" << NoSize;
    QTest::newRow("off, absent, off") << "0"
                                      << ""
                                      << "0" << NoSize;
    QTest::newRow("only Mid off") << ""
                                  << "0"
                                  << "" << NoSize;
    QTest::newRow("leading space is not 1") << " 1"
                                            << ""
                                            << "" << medium;
    QTest::newRow("leading space beside an off") << " 1"
                                                 << "0"
                                                 << "" << NoSize;
    QTest::newRow("leading zero is not 1") << ""
                                           << ""
                                           << "01" << medium;
    QTest::newRow("leading zero beside an off") << "0"
                                                << ""
                                                << "01" << NoSize;
    QTest::newRow("true is not 1") << "true"
                                   << "0"
                                   << "" << NoSize;
    QTest::newRow("trailing space is not 1") << "0"
                                             << "1 "
                                             << "0" << NoSize;
    QTest::newRow("trailing space is not 0") << ""
                                             << ""
                                             << "0 " << medium;
    QTest::newRow("unrecognised Mid, others absent") << ""
                                                     << "x"
                                                     << "" << medium;
    QTest::newRow("three unrecognised values") << "yes"
                                               << "on"
                                               << "2" << medium;
    QTest::newRow("unrecognised beside a 1") << "x"
                                             << "y"
                                             << "1" << large;
}

void TestRules::chooseSizeDecision()
{
    QFETCH(QString, small);
    QFETCH(QString, mid);
    QFETCH(QString, big);
    QFETCH(int, expected);
    QCOMPARE(chosenWidth(small, mid, big), expected);
}

void TestRules::boxValueForStoredValue_data()
{
    test::addColumns<QString, QString, std::optional<int>>("type", "stored", "expected");

    const std::optional<int> unchanged;
    QTest::newRow("Bitmap pattern") << "Bitmap"
                                    << "*.bmp;" << std::optional(1);
    QTest::newRow("Jpg pattern") << "Jpg"
                                 << "*.jpeg;*.jpg;" << std::optional(1);
    QTest::newRow("Gif pattern") << "Gif"
                                 << "*.gif;" << std::optional(1);
    QTest::newRow("Ico pattern") << "Ico"
                                 << "*.ico;" << std::optional(1);
    QTest::newRow("Bitmap disabled") << "Bitmap"
                                     << "&;" << std::optional(0);
    QTest::newRow("Ico disabled") << "Ico"
                                  << "&;" << std::optional(0);
    QTest::newRow("absent") << "Gif"
                            << "" << unchanged;
    QTest::newRow("capitals") << "Bitmap"
                              << "*.BMP;" << unchanged;
    QTest::newRow("capital marker part") << "Jpg"
                                         << "*.JPEG;*.jpg;" << unchanged;
    QTest::newRow("no closing semicolon") << "Gif"
                                          << "*.gif" << unchanged;
    QTest::newRow("leading space") << "Ico"
                                   << " *.ico;" << unchanged;
    QTest::newRow("trailing space") << "Bitmap"
                                    << "*.bmp; " << unchanged;
    QTest::newRow("marker with space") << "Gif"
                                       << "&; " << unchanged;
    QTest::newRow("marker without semicolon") << "Gif"
                                              << "&" << unchanged;
    QTest::newRow("another type's pattern") << "Bitmap"
                                            << "*.gif;" << unchanged;
    QTest::newRow("jpeg parts swapped") << "Jpg"
                                        << "*.jpg;*.jpeg;" << unchanged;
    QTest::newRow("jpeg half") << "Jpg"
                               << "*.jpg;" << unchanged;
}

void TestRules::boxValueForStoredValue()
{
    QFETCH(QString, type);
    QFETCH(QString, stored);
    QFETCH(std::optional<int>, expected);
    QCOMPARE(boxValueFor(typeNamed(type), stored), expected);
}

void TestRules::noTypeRecognisedInStore_data()
{
    test::addColumns<QString, QString, QString, QString, bool>("bitmap", "jpg", "gif", "ico",
                                                               "expected");

    QTest::newRow("nothing stored") << ""
                                    << ""
                                    << ""
                                    << "" << true;
    QTest::newRow("initial values") << "*.bmp;"
                                    << "*.jpeg;*.jpg;"
                                    << "*.gif;"
                                    << "&;" << false;
    QTest::newRow("only Ico disabled") << ""
                                       << ""
                                       << ""
                                       << "&;" << false;
    QTest::newRow("only Gif enabled") << ""
                                      << ""
                                      << "*.gif;"
                                      << "" << false;
    QTest::newRow("only a capitalised Bitmap") << "*.BMP;"
                                               << ""
                                               << ""
                                               << "" << true;
    QTest::newRow("patterns under the wrong keys") << "*.gif;"
                                                   << "*.bmp;"
                                                   << "*.ico;"
                                                   << "*.jpeg;*.jpg;" << true;
    QTest::newRow("hand edits everywhere") << "x"
                                           << " &;"
                                           << "&"
                                           << "*.ico" << true;
}

void TestRules::noTypeRecognisedInStore()
{
    QFETCH(QString, bitmap);
    QFETCH(QString, jpg);
    QFETCH(QString, gif);
    QFETCH(QString, ico);
    QFETCH(bool, expected);
    QCOMPARE(noTypeRecognised(std::array<QString, PictureTypes.size()>{bitmap, jpg, gif, ico}),
             expected);
}

void TestRules::storedValueForBox_data()
{
    test::addColumns<QString, int, std::optional<QString>>("type", "box", "expected");

    const std::optional<QString> nothing;
    const auto text = [](const char* value) { return std::optional(QString::fromLatin1(value)); };
    QTest::newRow("Bitmap checked") << "Bitmap" << 1 << text("*.bmp;");
    QTest::newRow("Jpg checked") << "Jpg" << 1 << text("*.jpeg;*.jpg;");
    QTest::newRow("Gif checked") << "Gif" << 1 << text("*.gif;");
    QTest::newRow("Ico checked") << "Ico" << 1 << text("*.ico;");
    QTest::newRow("Bitmap unchecked") << "Bitmap" << 0 << text("&;");
    QTest::newRow("Ico unchecked") << "Ico" << 0 << text("&;");
    QTest::newRow("Bitmap grayed") << "Bitmap" << 2 << nothing;
    QTest::newRow("Gif grayed") << "Gif" << 2 << nothing;
}

void TestRules::storedValueForBox()
{
    QFETCH(QString, type);
    QFETCH(int, box);
    QFETCH(std::optional<QString>, expected);
    const std::optional<QString> value = storedValueFor(typeNamed(type), box);
    QCOMPARE(value, expected);
    // What an apply writes, the next load reads back as the same box state.
    if (value)
        QCOMPARE(boxValueFor(typeNamed(type), *value), std::optional(box));
}

void TestRules::wildcards_data()
{
    test::addColumns<QString, QString, bool>("pattern", "name", "matches");

    QTest::newRow("extension") << "*.jpg;"
                               << "photo.jpg" << true;
    QTest::newRow("capital name") << "*.jpg;"
                                  << "PHOTO.JPG" << true;
    QTest::newRow("capital pattern") << "*.JPG;"
                                     << "photo.jpg" << true;
    QTest::newRow("other extension") << "*.jpg;"
                                     << "photo.jpeg" << false;
    QTest::newRow("extension only as a prefix") << "*.jpg;"
                                                << "photo.jpg.txt" << false;
    QTest::newRow("star matches nothing") << "*.bmp"
                                          << ".bmp" << true;
    QTest::newRow("no dot") << "*.bmp"
                            << "bmp" << false;
    QTest::newRow("marker matches &") << "&;"
                                      << "&" << true;
    QTest::newRow("marker not a prefix") << "&;"
                                         << "&.bmp" << false;
    QTest::newRow("marker not a suffix") << "&;"
                                         << "a&" << false;
    QTest::newRow("marker not everything") << "&;"
                                           << "sea.bmp" << false;
    QTest::newRow("closing pattern") << "*.vuq"
                                     << "notes.vuq" << true;
    QTest::newRow("closing pattern in capitals") << "*.vuq"
                                                 << "NOTES.VUQ" << true;
    QTest::newRow("closing pattern only") << "*.vuq"
                                          << "sea.bmp" << false;
    QTest::newRow("question mark, one character") << "?.gif"
                                                  << "a.gif" << true;
    QTest::newRow("question mark, not two") << "?.gif"
                                            << "ab.gif" << false;
    QTest::newRow("question mark, not none") << "?.gif"
                                             << ".gif" << false;
    QTest::newRow("question marks") << "img??.png"
                                    << "img07.png" << true;
    QTest::newRow("question mark matches a dot") << "a?b"
                                                 << "a.b" << true;
    QTest::newRow("several stars") << "*a*b*c*"
                                   << "xxaYYbZZcQQ" << true;
    QTest::newRow("several stars, out of order") << "*a*b*c*"
                                                 << "cba" << false;
    QTest::newRow("stars around a dot") << "*.*"
                                        << "a.b" << true;
    QTest::newRow("stars around a dot, none") << "*.*"
                                              << "ab" << false;
    QTest::newRow("backtracking") << "*aab"
                                  << "aaaab" << true;
    QTest::newRow("backtracking fails") << "*aab"
                                        << "aaaaba" << false;
    QTest::newRow("any name") << "*"
                              << "anything at all" << true;
    QTest::newRow("second element") << "*.bmp;*.gif;"
                                    << "anim.GIF" << true;
    QTest::newRow("none of the elements") << "*.bmp;*.gif;"
                                          << "road.jpeg" << false;
    QTest::newRow("empty pattern") << ""
                                   << "sea.bmp" << false;
    QTest::newRow("only separators") << ";;"
                                     << "sea.bmp" << false;
    QTest::newRow("non-ASCII, case ignored")
        << QStringLiteral("*.ΩΜΈΓΑ") << QStringLiteral("x.ωμέγα") << true;
    QTest::newRow("regular expression characters") << "a+b(1)[x].bmp"
                                                   << "A+B(1)[X].BMP" << true;
    QTest::newRow("regular expression characters, literal") << "a+b.bmp"
                                                            << "aab.bmp" << false;
}

void TestRules::wildcards()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(FilePattern(pattern).matches(name), matches);
    // A single wildcard gives the same answer on folded text.
    if (!pattern.contains(QLatin1Char(';')) && !pattern.isEmpty())
        QCOMPARE(wildcardMatch(pattern.toCaseFolded(), name.toCaseFolded()), matches);
}

void TestRules::pathologicalWildcardFinishes()
{
    // Naive backtracking takes exponential time on this; it must answer at once.
    const QString name = QString(5000, QLatin1Char('a'));
    QVERIFY(!FilePattern(QStringLiteral("*a*a*a*a*a*a*a*a*a*a*b")).matches(name));
    QVERIFY(FilePattern(QStringLiteral("*a*a*a*a*a*a*a*a*a*a*")).matches(name));
    QVERIFY(!FilePattern(QStringLiteral("*a*a*a*a*a*b;*?*?*?*?*c")).matches(name));
}

void TestRules::filterByPattern_data()
{
    test::addColumns<QString, QStringList>("pattern", "expected");

    QTest::newRow("all four types") << "*.bmp;*.jpeg;*.jpg;*.gif;*.ico;*.vuq"
                                    << QStringList{"&.bmp",     "anim.gif",  "app.ico", "Hill.JPG",
                                                   "notes.vuq", "road.jpeg", "sea.bmp"};
    QTest::newRow("initial types")
        << "*.bmp;*.jpeg;*.jpg;*.gif;&;*.vuq"
        << QStringList{"&", "&.bmp", "anim.gif", "Hill.JPG", "notes.vuq", "road.jpeg", "sea.bmp"};
    QTest::newRow("JPEG only") << "&;*.jpeg;*.jpg;&;&;*.vuq"
                               << QStringList{"&", "Hill.JPG", "notes.vuq", "road.jpeg"};
    QTest::newRow("bitmap and icon")
        << "*.bmp;&;&;*.ico;*.vuq" << QStringList{"&", "&.bmp", "app.ico", "notes.vuq", "sea.bmp"};
    QTest::newRow("bitmap, the other keys missing")
        << "*.bmp;*.vuq" << QStringList{"&.bmp", "notes.vuq", "sea.bmp"};
    QTest::newRow("bitmap and GIF")
        << "*.bmp;&;*.gif;&;*.vuq" << QStringList{"&", "&.bmp", "anim.gif", "notes.vuq", "sea.bmp"};
    QTest::newRow("only Ico disabled") << "&;*.vuq" << QStringList{"&", "notes.vuq"};
    QTest::newRow("no type key") << "*.vuq" << QStringList{"notes.vuq"};
    QTest::newRow("declared pattern") << "*.bmp" << QStringList{"&.bmp", "sea.bmp"};
    QTest::newRow("capitalised hand edit")
        << "*.BMP;*.vuq" << QStringList{"&.bmp", "notes.vuq", "sea.bmp"};
}

void TestRules::filterByPattern()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    QCOMPARE(filterAndSort(sampleFolder(), pattern), expected);
}

void TestRules::sortIgnoresCase()
{
    const QStringList names{"b.bmp", "A.bmp", "C.bmp",  "a2.bmp",
                            "_.bmp", "Z.bmp", "10.bmp", "9.bmp"};
    const QStringList sorted = filterAndSort(names, QStringLiteral("*.bmp"));
    QCOMPARE(sorted.size(), names.size());
    for (qsizetype i = 1; i < sorted.size(); ++i) {
        QVERIFY2(sorted[i - 1].compare(sorted[i], Qt::CaseInsensitive) <= 0,
                 qPrintable(sorted.join(QLatin1Char(' '))));
    }
    QVERIFY(sorted.indexOf(QStringLiteral("A.bmp")) < sorted.indexOf(QStringLiteral("b.bmp")));
    QVERIFY(sorted.indexOf(QStringLiteral("b.bmp")) < sorted.indexOf(QStringLiteral("C.bmp")));
}

void TestRules::namesDifferingInCaseKeepOneOrder()
{
    // A folder on a case-sensitive disk may hold both; the list must not depend on the order
    // the folder hands them out.
    const QStringList oneWay{"photo.jpg", "Photo.jpg", "PHOTO.JPG", "album.jpg"};
    const QStringList otherWay{"PHOTO.JPG", "album.jpg", "Photo.jpg", "photo.jpg"};
    const QString pattern = QStringLiteral("*.jpg;");
    const QStringList sorted = filterAndSort(oneWay, pattern);
    QCOMPARE(sorted.size(), 4);
    QCOMPARE(sorted.first(), QStringLiteral("album.jpg"));
    QCOMPARE(filterAndSort(otherWay, pattern), sorted);
    QCOMPARE(filterAndSort(sorted, pattern), sorted);
}

void TestRules::countCaptions_data()
{
    test::addColumns<int, QString>("count", "caption");

    QTest::newRow("none") << 0 << "";
    QTest::newRow("one") << 1 << "1";
    QTest::newRow("twelve") << 12 << "12";
    QTest::newRow("a hundred") << 100 << "100";
    QTest::newRow("many") << 123456 << "123456";
}

void TestRules::countCaptions()
{
    QFETCH(int, count);
    QFETCH(QString, caption);
    QCOMPARE(countCaption(count), caption);
}

void TestRules::picturePaths_data()
{
    test::addColumns<QString, QString, QString>("folder", "name", "expected");

    const QString sep{QDir::separator()};
    QTest::newRow("folder") << "/pics"
                            << "sea.bmp"
                            << "/pics" + sep + "sea.bmp";
    QTest::newRow("folder ending in a separator") << "/pics" + sep << "sea.bmp"
                                                  << "/pics" + sep + sep + "sea.bmp";
    QTest::newRow("root") << sep << "sea.bmp" << sep + sep + "sea.bmp";
    QTest::newRow("no folder chosen yet") << ""
                                          << "sea.bmp" << sep + "sea.bmp";
    QTest::newRow("no file selected") << "/pics"
                                      << ""
                                      << "/pics" + sep;
    QTest::newRow("spaces kept") << "/my pics "
                                 << " a.bmp"
                                 << "/my pics " + sep + " a.bmp";
}

void TestRules::picturePaths()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(joinPicturePath(folder, name), expected);
}

void TestRules::pagePlacementFitsOrShrinks_data()
{
    test::addColumns<QSize, QSize, double>("image", "printable", "dpi");

    QTest::newRow("medium window at 600 dpi") << QSize(794, 508) << QSize(4800, 6600) << 600.0;
    QTest::newRow("small window at 300 dpi") << QSize(400, 300) << QSize(2400, 3300) << 300.0;
    QTest::newRow("same dpi as the screen") << QSize(400, 300) << QSize(500, 700) << 96.0;
    QTest::newRow("exactly fits") << QSize(480, 320) << QSize(3000, 2000) << 600.0;
    QTest::newRow("too wide") << QSize(1280, 600) << QSize(4800, 6600) << 600.0;
    QTest::newRow("too tall") << QSize(300, 1200) << QSize(4800, 6600) << 600.0;
    QTest::newRow("too large both ways") << QSize(2000, 3000) << QSize(1000, 1000) << 1200.0;
    QTest::newRow("landscape page") << QSize(1024, 768) << QSize(6600, 4800) << 600.0;
}

void TestRules::pagePlacementFitsOrShrinks()
{
    QFETCH(QSize, image);
    QFETCH(QSize, printable);
    QFETCH(double, dpi);

    const QRect placed = pagePlacement(image, printable, dpi);
    QVERIFY(QRect(QPoint(0, 0), printable).contains(placed));

    const double onPaperWidth = image.width() * dpi / 96.0;
    const double onPaperHeight = image.height() * dpi / 96.0;
    if (onPaperWidth <= printable.width() && onPaperHeight <= printable.height()) {
        // Its size on screen, inch for inch.
        QVERIFY2(std::abs(placed.width() - onPaperWidth) < 1.0,
                 qPrintable(QString::number(placed.width())));
        QVERIFY2(std::abs(placed.height() - onPaperHeight) < 1.0,
                 qPrintable(QString::number(placed.height())));
    } else {
        // Shrunk until one side meets the printable area, proportions kept.
        QVERIFY(placed.width() <= printable.width() && placed.height() <= printable.height());
        QVERIFY(placed.width() >= printable.width() - 1 ||
                placed.height() >= printable.height() - 1);
        const double aspect = double(image.width()) / image.height();
        QVERIFY2(std::abs(double(placed.width()) / placed.height() - aspect) <
                     2.0 / std::min(placed.width(), placed.height()),
                 qPrintable(QStringLiteral("%1 x %2").arg(placed.width()).arg(placed.height())));
        QVERIFY(placed.width() < onPaperWidth);
    }
}

void TestRules::sharpenedForPrintEnlargesByWholePixels_data()
{
    test::addColumns<QSize, QSize, qint64, int>("source", "target", "cap", "expectedFactor");

    QTest::newRow("exact multiple") << QSize(3, 2) << QSize(30, 20) << qint64(1'000'000) << 10;
    QTest::newRow("limited by height") << QSize(7, 5) << QSize(70, 26) << qint64(1'000'000) << 5;
    QTest::newRow("limited by width") << QSize(7, 5) << QSize(29, 100) << qint64(1'000'000) << 4;
    QTest::newRow("capped") << QSize(3, 2) << QSize(30, 20) << qint64(150) << 5;
    QTest::newRow("cap below any enlargement") << QSize(3, 2) << QSize(30, 20) << qint64(20) << 1;
    QTest::newRow("target smaller than the picture")
        << QSize(40, 30) << QSize(20, 15) << qint64(1'000'000) << 1;
    QTest::newRow("target less than double")
        << QSize(40, 30) << QSize(79, 59) << qint64(1'000'000) << 1;
}

void TestRules::sharpenedForPrintEnlargesByWholePixels()
{
    QFETCH(QSize, source);
    QFETCH(QSize, target);
    QFETCH(qint64, cap);
    QFETCH(int, expectedFactor);

    const QImage picture = distinctPixels(source.width(), source.height());
    const QImage result = sharpenedForPrint(picture, target, cap);
    QCOMPARE(result.size(), source * expectedFactor);
    if (expectedFactor > 1) {
        QVERIFY(qint64(result.width()) * result.height() <= cap);
        QVERIFY(result.width() <= target.width() && result.height() <= target.height());
    }
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            if (result.pixel(x, y) != picture.pixel(x / expectedFactor, y / expectedFactor))
                QFAIL(qPrintable(
                    QStringLiteral("pixel %1,%2 is not its source pixel").arg(x).arg(y)));
        }
    }
}

void TestRules::copyPlaces_data()
{
    test::addColumns<Repeat, QSize, int, int, QPoint, bool, bool>(
        "repeat", "copy", "column", "row", "topLeft", "mirroredAcross", "mirroredDown");
    const QSize copy(10, 6);
    const auto row = [copy](const char* name, Repeat repeat, int column, int line, QPoint at,
                            bool across = false, bool down = false) {
        QTest::newRow(name) << repeat << copy << column << line << at << across << down;
    };
    row("side by side, the first", Repeat::SideBySide, 0, 0, {0, 0});
    row("side by side, above and left", Repeat::SideBySide, -1, -1, {-10, -6});
    row("half-drop, even column", Repeat::HalfDrop, 2, 1, {20, 6});
    row("half-drop, odd column drops half", Repeat::HalfDrop, 1, 0, {10, 3});
    row("half-drop, odd column above the first row", Repeat::HalfDrop, 1, -1, {10, -3});
    row("half-drop, column left of the first", Repeat::HalfDrop, -1, 0, {-10, 3});
    row("brick, odd row shifted half", Repeat::Brick, 0, 1, {5, 6});
    row("brick, row above the first", Repeat::Brick, 0, -1, {5, -6});
    row("mirror, odd column", Repeat::Mirror, 1, 0, {10, 0}, true);
    row("mirror, odd row", Repeat::Mirror, 2, 1, {20, 6}, false, true);
    row("mirror, both", Repeat::Mirror, 1, 1, {10, 6}, true, true);
    QTest::newRow("half-drop of an odd height: half rounded down")
        << Repeat::HalfDrop << QSize(10, 7) << 1 << 0 << QPoint(10, 3) << false << false;
    QTest::newRow("brick of one pixel: not shifted")
        << Repeat::Brick << QSize(1, 1) << 0 << 1 << QPoint(0, 1) << false << false;
}

void TestRules::copyPlaces()
{
    QFETCH(Repeat, repeat);
    QFETCH(QSize, copy);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QPoint, topLeft);
    QFETCH(bool, mirroredAcross);
    QFETCH(bool, mirroredDown);
    QCOMPARE(copyPlace(repeat, copy, column, row),
             (CopyPlace{topLeft, mirroredAcross, mirroredDown}));
    // Its top-left pixel shows the picture's corner pixel as the copy is turned.
    QCOMPARE(pictureAt(repeat, copy, topLeft),
             QPoint(mirroredAcross ? copy.width() - 1 : 0, mirroredDown ? copy.height() - 1 : 0));
}

void TestRules::newestLoadWins_data()
{
    // Before the colon: w a request, e the running load returns, d nothing more is wanted. After
    // it: whether a request starts or waits, whether a returned load is shown, what starts next.
    test::addRows<QString>(
        "steps",
        {
            {"one after another", "w e w e: start1 show start2 show"},
            {"a held key: only the newest waits", "w w w e e: start1 wait2 wait3 drop next3 show"},
            {"dropped", "w w d e: start1 wait2 drop"},
            {"asked again after a drop", "w d w e e: start1 wait2 drop next2 show"},
        });
}

void TestRules::newestLoadWins()
{
    QFETCH(QString, steps);
    NewestWins loads;
    QStringList said;
    for (const QString& step : steps.section(':', 0, 0).split(' ')) {
        if (step == "w") {
            const auto [ticket, now] = loads.want();
            said << (now ? "start" : "wait") + QString::number(ticket);
        } else if (step == "e") {
            const auto [show, next] = loads.ended();
            said << (show ? "show" : "drop") << (next ? "next" + QString::number(*next) : "");
        } else {
            loads.drop();
        }
    }
    QCOMPARE(said.join(' ').simplified(), steps.section(": ", 1));
    QVERIFY(!loads.running() && !loads.awaited());
}

QTEST_APPLESS_MAIN(TestRules)

#include "tst_rules.moc"
