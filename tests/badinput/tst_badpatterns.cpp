// File names holding the pattern's own special characters ("*", "?", ";", "&"), matched
// against wildcards that use them: a "*" or "?" in a name is an ordinary character there.

#include "ui/FileListBox.h"
#include "ui/Wildcard.h"

#include <QtTest>

using namespace zelvo;

class BadPatternsTest : public QObject
{
    Q_OBJECT

private slots:
    void specialCharactersInNames_data();
    void specialCharactersInNames();
};

void BadPatternsTest::specialCharactersInNames_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");

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

QTEST_APPLESS_MAIN(BadPatternsTest)
#include "tst_badpatterns.moc"
