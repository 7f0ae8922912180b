// File names holding the pattern's own special characters ("*", "?", ";", "&"), matched
// against wildcards that use them: a "*" or "?" in a name is an ordinary character there.

#include "core/Wildcard.h"
#include "support/DataTable.h"

#include <QtTest>

using namespace zelvo;

class BadPatternsTest : public QObject
{
    Q_OBJECT

private slots:
    void specialCharactersInNames_data();
    void specialCharactersInNames();
    void hugePatternListsAsItSays_data();
    void hugePatternListsAsItSays();
};

void BadPatternsTest::specialCharactersInNames_data()
{
    test::addColumns<QString, QString, bool>("pattern", "name", "listed");

    QTest::newRow("star after a star in the name") << "a*"
                                                   << "a*b" << true;
    QTest::newRow("trailing star over a star") << "*.bmp*"
                                               << "x.bmp*y" << true;
    QTest::newRow("star in the middle over a star") << "a*z"
                                                    << "a*b*z" << true;
    QTest::newRow("found by fuzzing")
        << "*.bmp*;*..BMP"
        << QString::fromUtf8(".;egjp*.jpg;mp;*.bmp**;.b.jp\xef\xbf\xbd"
                             "am")
        << true;
    QTest::newRow("lone star names a star") << "*"
                                            << "*" << true;
    QTest::newRow("question mark over a star") << "?"
                                               << "*" << true;
    QTest::newRow("question mark over a question mark") << "why?.bmp"
                                                        << "why?.bmp" << true;
    QTest::newRow("pattern split at semicolons") << "*.bmp;"
                                                 << "a;b.bmp" << true;
    QTest::newRow("name is the disabled marker") << "&;"
                                                 << "&" << true;
    QTest::newRow("disabled marker is not a wildcard") << "&;*.vuq"
                                                       << "a&" << false;
    QTest::newRow("stars do not stand for missing letters") << "*x*"
                                                            << "**" << false;
    QTest::newRow("name shorter than the fixed part") << "a*b*c"
                                                      << "a*b" << false;
    QTest::newRow("stars in the name end too soon") << "*.bmp"
                                                    << "*.bm*" << false;
}

void BadPatternsTest::specialCharactersInNames()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, listed);

    QCOMPARE(FilePattern(pattern).matches(name), listed);
    const QStringList names{QStringLiteral("zz-other.none"), name};
    QCOMPARE(filterAndSort(names, pattern).contains(name), listed);
}

// A hand-edited type value of 400,000 wildcards, about 4 MB: the list still shows what the
// pattern says. (The test's time limit catches work that grows with the square of its length.)
void BadPatternsTest::hugePatternListsAsItSays_data()
{
    test::addColumns<QString, QStringList, int>("wildcard", "listed", "distinct");
    // Each row's wildcards are given 400,000 times, numbered 0 to 399,999 with six digits
    // where they hold "%1"; "*.bmp;*.vuq" ends the pattern.
    QTest::newRow("endings") << "*.x%1" << QStringList{"a.bmp", "b.X000000", "c.x399999"}
                             << 400'002;
    QTest::newRow("one character open") << "?.q%1" << QStringList{"a.bmp", "b.q123456"} << 400'002;
    QTest::newRow("the same wildcards")
        << "*.jpeg;*.jpg;*.GIF" << QStringList{"a.bmp", "c.jpg", "d.gif"} << 5;
}

void BadPatternsTest::hugePatternListsAsItSays()
{
    QFETCH(QString, wildcard);
    QFETCH(QStringList, listed);
    QFETCH(int, distinct);

    constexpr int Count = 400'000;
    const bool numbered = wildcard.contains(QLatin1String("%1"));
    QString pattern;
    pattern.reserve(Count * (wildcard.size() + 2) + 16);
    for (int i = 0; i < Count; ++i) {
        pattern += numbered ? wildcard.arg(i, 6, 10, QLatin1Char('0')) : wildcard;
        pattern += QLatin1Char(';');
    }
    pattern += QStringLiteral("*.bmp;*.vuq");
    QVERIFY(pattern.size() > 3'900'000);

    const QStringList names{"a.bmp", "b.X000000", "b.q123456", "c.jpg",      "c.x399999",
                            "d.gif", "e.x400000", "f.x00000",  "ab.q123456", "g.q1234567"};
    QCOMPARE(filterAndSort(names, pattern), listed);
    const FilePattern built(pattern);
    QCOMPARE(built.wildcards().size(), qsizetype(distinct));
    const QString first = numbered ? wildcard.arg(0, 6, 10, QLatin1Char('0'))
                                   : wildcard.section(QLatin1Char(';'), 0, 0);
    QCOMPARE(built.wildcards().first(), first.toCaseFolded());
    QCOMPARE(built.wildcards().last(), QStringLiteral("*.vuq"));
}

QTEST_APPLESS_MAIN(BadPatternsTest)
#include "tst_badpatterns.moc"
