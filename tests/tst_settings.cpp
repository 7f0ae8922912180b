// The per-user store: absent keys, values surviving to a later run byte for byte, hand edits,
// the initial type values, failures to store, a second copy of the program, damaged files.
//
// A later run, or another copy of the program, is this test program started again with
// "--store": it opens the store the way the program does, with XDG_CONFIG_HOME pointing at the
// test's temporary folder, so that it parses the file on disk rather than sharing this
// process's cached copy.

#include "settings/DamagedCopies.h"
#include "settings/SettingsFormat.h"
#include "settings/SettingsStore.h"
#include "support/DataTable.h"
#include "support/Files.h"
#include "support/IsolatedSettings.h"
#include "support/StoreKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <optional>

using namespace zelvo;
namespace keys = zelvo::test::keys;

namespace {

// "--store read SECTION KEY" prints the value, base64 of its UTF-8, on one line.
// "--store write SECTION KEY BASE64" writes the value and commits; exit code 0 when stored.
// "--store write-when-told ..." the same, but once the store is open it says "open" and waits
// for a line on its input first.
int runStoreCommand(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 5 && std::strcmp(argv[2], "read") == 0) {
        SettingsStore store;
        const QByteArray value = store.read({argv[3], argv[4]}).toUtf8().toBase64();
        std::printf("%s\n", value.constData());
        return 0;
    }
    const bool told = std::strcmp(argv[2], "write-when-told") == 0;
    if (argc >= 6 && (told || std::strcmp(argv[2], "write") == 0)) {
        SettingsStore store;
        if (told) {
            std::puts("open");
            std::fflush(stdout);
            char line[16];
            if (!std::fgets(line, sizeof line, stdin))
                return 3;
        }
        store.write({argv[3], argv[4]}, QString::fromUtf8(QByteArray::fromBase64(argv[5])));
        return store.commit() ? 0 : 1;
    }
    return 2;
}

[[nodiscard]] QProcessEnvironment childEnvironment(const test::IsolatedSettings& iso)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), iso.folder());
    env.insert(QStringLiteral("HOME"), iso.folder());
    return env;
}

// The value a later run of the program reads, or nothing when that run failed.
[[nodiscard]] std::optional<QString> readInLaterRun(const test::IsolatedSettings& iso,
                                                    const keys::Key& key)
{
    QProcess child;
    child.setProcessEnvironment(childEnvironment(iso));
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--store"), QStringLiteral("read"), QLatin1String(key.section),
                 QLatin1String(key.name)});
    if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(QByteArray::fromBase64(child.readAllStandardOutput().trimmed()));
}

[[nodiscard]] bool writeInOtherCopy(const test::IsolatedSettings& iso, const keys::Key& key,
                                    const QString& value)
{
    QProcess child;
    child.setProcessEnvironment(childEnvironment(iso));
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--store"), QStringLiteral("write"), QLatin1String(key.section),
                 QLatin1String(key.name), QString::fromLatin1(value.toUtf8().toBase64())});
    return child.waitForFinished(30000) && child.exitStatus() == QProcess::NormalExit &&
           child.exitCode() == 0;
}

const keys::Key* keyNamed(const QString& name)
{
    static constexpr keys::Key All[] = {
        keys::size::Small,   keys::size::Mid,     keys::size::Big,    keys::type::Bitmap.key,
        keys::type::Jpg.key, keys::type::Gif.key, keys::type::Ico.key};
    for (const keys::Key& key : All) {
        if (name == QLatin1String(key.name))
            return &key;
    }
    return nullptr;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void absentKeysReadEmpty();

    void valuesSurviveToLaterRun_data();
    void valuesSurviveToLaterRun();

    void handEditedValueReadsAsWritten_data();
    void handEditedValueReadsAsWritten();
    void fileLinesParsed_data();
    void fileLinesParsed();
    void commitChangesOnlyTheProgramsKeys_data();
    void commitChangesOnlyTheProgramsKeys();

    void initialTypesSeededIntoEmptyStore_data();
    void initialTypesSeededIntoEmptyStore();
    void initialTypesNotSeededOverAnyTypeKey_data();
    void initialTypesNotSeededOverAnyTypeKey();
    void seedingLeavesSizeKeysAlone();
    void laterTypesSeededOnceBesideEarlierOnes();
    void seedWaitsForCommitWhereThereIsNoFile();
    void seedGoesIntoAnExistingFileAtOnce();
    void laterValuesBeatAnUnwrittenSeed();

    void commitFailsWhenFolderCannotBeCreated();
    void commitFailsWhenFileCannotBeReplaced();
    void commitFailsInReadOnlyFolder();
    void failedCommitLeavesStoreAsItWas_data();
    void failedCommitLeavesStoreAsItWas();

    void otherCopysWriteSeenAfterReload();
    void damagedFileKeptAsideBeforeFirstWrite();
    void damagedOriginalsAreNeverWrittenOver();
    void fileGrownTooLargeIsReplacedByTheValuesRead();
};

void TestSettings::absentKeysReadEmpty()
{
    test::IsolatedSettings iso;
    SettingsStore store;
    for (const keys::Key& key : keys::size::Keys)
        QCOMPARE(store.read(key), QString());
    for (const auto& type : keys::type::Keys)
        QCOMPARE(store.read(type.key), QString());
    QVERIFY(!QFileInfo::exists(iso.fileName()));

    // A key of a section that exists is still absent.
    store.write(keys::size::Small, QStringLiteral("1"));
    QVERIFY(store.commit());
    SettingsStore later;
    QCOMPARE(later.read(keys::size::Mid), QString());
    QCOMPARE(later.read(keys::type::Bitmap.key), QString());
}

void TestSettings::valuesSurviveToLaterRun_data()
{
    test::addColumns<QString, QString>("key", "value");

    QTest::newRow("bitmap pattern") << "Bitmap"
                                    << "*.bmp;";
    QTest::newRow("jpeg pattern") << "Jpg"
                                  << "*.jpeg;*.jpg;";
    QTest::newRow("disabled marker") << "Ico"
                                     << "&;";
    QTest::newRow("flag") << "Small"
                          << "1";
    QTest::newRow("comma") << "Gif"
                           << "*.gif;,*.png;";
    QTest::newRow("comma and space") << "Gif"
                                     << "a, b";
    QTest::newRow("quotes") << "Bitmap"
                            << "\"*.bmp;\" and 'x'";
    QTest::newRow("leading and trailing spaces") << "Mid"
                                                 << "  1  ";
    QTest::newRow("equals sign") << "Jpg"
                                 << "a=b;c=d";
    QTest::newRow("non-ASCII") << "Bitmap" << QStringLiteral("*.bmp;Ωμέγα;ü;日本");
    QTest::newRow("leading at sign") << "Big"
                                     << "@Variant(0)";
    QTest::newRow("backslash") << "Ico"
                               << "c:\\pics\\*.ico;";
    QTest::newRow("hash and semicolon first") << "Gif"
                                              << ";# not a comment";
}

void TestSettings::valuesSurviveToLaterRun()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    const keys::Key* stored = keyNamed(key);
    QVERIFY(stored);

    test::IsolatedSettings iso;
    {
        SettingsStore store;
        store.write(*stored, value);
        QCOMPARE(store.read(*stored), value);
        QVERIFY(store.commit());
    }
    const std::optional<QString> later = readInLaterRun(iso, *stored);
    QVERIFY(later);
    QCOMPARE(*later, value);
    QCOMPARE(later->toUtf8(), value.toUtf8());

    // Qt's own INI reader, which earlier versions used, reads it the same. (A copy: this
    // process caches what it parsed by file name.)
    const QString copy = iso.folder() + QStringLiteral("/old-reader.ini");
    QVERIFY(QFile::copy(iso.fileName(), copy));
    const QSettings oldReader(copy, QSettings::IniFormat);
    QCOMPARE(
        oldReader
            .value(QLatin1String(stored->section) + QLatin1Char('/') + QLatin1String(stored->name))
            .toString(),
        value);
}

void TestSettings::handEditedValueReadsAsWritten_data()
{
    test::addColumns<QByteArray, QString>("line", "expected");

    QTest::newRow("two patterns") << QByteArray("Bitmap=*.bmp,*.gif") << "*.bmp,*.gif";
    QTest::newRow("three parts") << QByteArray("Bitmap=x,y,z w") << "x,y,z w";
    QTest::newRow("empty part") << QByteArray("Bitmap=a,,b") << "a,,b";
    QTest::newRow("trailing comma") << QByteArray("Bitmap=*.bmp,") << "*.bmp,";
    QTest::newRow("quoted with semicolon") << QByteArray("Bitmap=\"*.BMP;\"") << "*.BMP;";
    QTest::newRow("semicolons") << QByteArray("Bitmap=*.jpeg;*.jpg;") << "*.jpeg;*.jpg;";
    QTest::newRow("blanks around dropped")
        << QByteArray(" Bitmap\t= *.bmp ; *.gif \t") << "*.bmp ; *.gif";
    QTest::newRow("quoted blanks kept") << QByteArray("Bitmap = \" 1 \" ") << " 1 ";
    QTest::newRow("spaces around commas") << QByteArray("Bitmap=a , b") << "a , b";
    QTest::newRow("hash and backslash") << QByteArray("Bitmap=#x\\y") << "#x\\y";
}

// A table of whole files: every key read, as "Section/key=value", and whether the file parses.
void TestSettings::fileLinesParsed_data()
{
    test::addColumns<QByteArray, QStringList, bool>("file", "expected", "parses");

    QTest::newRow("as Qt writes it")
        << QByteArray("[Size]\nBig=0\nSmall=1\n\n[Type]\nBitmap=\"*.bmp;\"\nIco=\"&;\"\n")
        << QStringList{"Size/Big=0", "Size/Small=1", "Type/Bitmap=*.bmp;", "Type/Ico=&;"} << true;
    QTest::newRow("unquoted to the end of the line")
        << QByteArray("[Type]\nJpg=*.jpeg;*.jpg;\nGif= *.gif; ,x \t\n")
        << QStringList{"Type/Gif=*.gif; ,x", "Type/Jpg=*.jpeg;*.jpg;"} << true;
    QTest::newRow("quoted escapes") << QByteArray("[Type]\nGif=\"a\\\"b\\\\c\\x41\\t\\101\"\n")
                                    << QStringList{"Type/Gif=a\"b\\cA\tA"} << true;
    QTest::newRow("control and unknown escapes")
        << QByteArray("[Type]\nGif=\"\\a\\b\\f\\n\\r\\t\\v\\q\"\n")
        << QStringList{"Type/Gif=\a\b\f\n\r\t\vq"} << true;
    QTest::newRow("quoted, then a comment") << QByteArray("[Type]\nIco=\"&;\" ; off\nGif=\"\"\n")
                                            << QStringList{"Type/Gif=", "Type/Ico=&;"} << true;
    QTest::newRow("doubled at sign when quoted")
        << QByteArray("[Size]\nMid=\"@@x\"\nBig=@@x\n")
        << QStringList{"Size/Big=@@x", "Size/Mid=@x"} << true;
    QTest::newRow("comments, blanks, CRLF and BOM")
        << QByteArray("\xef\xbb\xbf; note\r\n\r\n  [Size]  \r\n  Mid = 1\r\n")
        << QStringList{"Size/Mid=1"} << true;
    QTest::newRow("General is the top level") << QByteArray("[general]\nk=v\n[Type]\nBitmap=&;\n")
                                              << QStringList{"Type/Bitmap=&;", "k=v"} << true;
    QTest::newRow("last of two wins")
        << QByteArray("[Size]\nMid=0\nMid=1\n") << QStringList{"Size/Mid=1"} << true;
    QTest::newRow("non-ASCII") << QByteArray("[Type]\nGif=\xc3\xbc;\"\xe6\x97\xa5\"\n")
                               << QStringList{QString::fromUtf8(
                                      "Type/Gif=\xc3\xbc;\"\xe6\x97\xa5\"")}
                               << true;
    QTest::newRow("section without its bracket")
        << QByteArray("[Type]\nBitmap=\"*.gif;\"\n[Size\nBig=1\n")
        << QStringList{"Size/Big=1", "Type/Bitmap=*.gif;"} << false;
    QTest::newRow("line without equals sign is no key")
        << QByteArray("[Size]\nSmall\nMid=1\n") << QStringList{"Size/Mid=1"} << true;
    QTest::newRow("hash line is no key") << QByteArray("# note\n") << QStringList{} << true;
}

void TestSettings::fileLinesParsed()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QFETCH(bool, parses);

    QSettings::SettingsMap map;
    QCOMPARE(settings::parseSettings(file, map), parses);
    QStringList read;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        read.append(it.key() + QLatin1Char('=') + it.value().toString());
    QCOMPARE(read, expected);

    // What is written back reads the same, here and with Qt's own INI reader.
    QSettings::SettingsMap again;
    QVERIFY(settings::parseSettings(settings::formatSettings(map), again));
    QCOMPARE(again, map);
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("old-reader.ini"));
    QVERIFY(test::writeBytes(copy, settings::formatSettings(map)));
    const QSettings oldReader(copy, QSettings::IniFormat);
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        QCOMPARE(oldReader.value(it.key()).toString(), it.value().toString());
}

// The file before, the values written as "key=value", the file after the commit.
void TestSettings::commitChangesOnlyTheProgramsKeys_data()
{
    test::addColumns<QByteArray, QStringList, QByteArray>("before", "writes", "after");
    QTest::newRow("comments, blanks and bytes that are not UTF-8 kept")
        << QByteArray("; notes\n[Type]\nBitmap = *.bmp;\nGif=\xff\n\n[Size]\nSmall = 1 ; was\n")
        << QStringList{"Small=0", "Mid=1", "Bitmap=*.bmp;", "Gif=&;"}
        << QByteArray("; notes\n[Type]\nBitmap = *.bmp;\nGif=\"&;\"\n\n[Size]\nSmall = "
                      "\"0\"\nMid=\"1\"\n");
    QTest::newRow("CRLF, last line unended, key and section twice")
        << QByteArray("[Size]\r\nBig=1\r\n[Type]\r\nIco=&;\r\n[Size]\r\nBig=0")
        << QStringList{"Big=1", "Mid=1", "Gif=*.gif;"}
        << QByteArray("[Size]\r\nBig=1\r\n[Type]\r\nIco=&;\r\nGif=\"*.gif;\"\r\n[Size]\r\nBig="
                      "\"1\"\r\nMid=\"1\"\r\n");
    QTest::newRow("hash note, unknown line, CRLF and a byte not UTF-8 kept")
        << QByteArray("# my note\r\n[Size]\r\nSmall=1\r\nstray\r\n[Type]\r\nGif=\xff\r\n")
        << QStringList{"Small=0", "Mid=1"}
        << QByteArray("# my note\r\n[Size]\r\nSmall=\"0\"\r\nMid=\"1\"\r\nstray\r\n[Type]\r\n"
                      "Gif=\xff\r\n");
    QTest::newRow("new section at the end") << QByteArray("[Other]\nx=1") << QStringList{"Small=1"}
                                            << QByteArray("[Other]\nx=1\n\n[Size]\nSmall=\"1\"\n");
}

void TestSettings::commitChangesOnlyTheProgramsKeys()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);
    test::IsolatedSettings iso;
    QVERIFY(test::writeBytes(iso.fileName(), before));
    SettingsStore store;
    for (const QString& write : writes)
        store.write(*keyNamed(write.section(QLatin1Char('='), 0, 0)),
                    write.section(QLatin1Char('='), 1));
    QVERIFY(store.commit());
    QCOMPARE(test::readBytes(iso.fileName()), after);
    QVERIFY(!QFileInfo::exists(iso.fileName() + QStringLiteral(".damaged")));
}

void TestSettings::handEditedValueReadsAsWritten()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);

    test::IsolatedSettings iso;
    QVERIFY(test::writeBytes(iso.fileName(), "[Type]\n" + line + "\n"));
    SettingsStore store;
    QCOMPARE(store.read(keys::type::Bitmap.key), expected);
}

// A file too large to read is kept aside, and its user starts as a new one.
void TestSettings::initialTypesSeededIntoEmptyStore_data()
{
    test::addColumns<QByteArray>("file");
    QTest::newRow("no file") << QByteArray();
    QTest::newRow("file over the size cap")
        << "[Type]\nIco=*.ico;\n;" + QByteArray(keys::MaxFileBytes, 'x') + '\n';
}

void TestSettings::initialTypesSeededIntoEmptyStore()
{
    QFETCH(QByteArray, file);
    test::IsolatedSettings iso;
    QVERIFY(file.isEmpty() || test::writeBytes(iso.fileName(), file));
    {
        SettingsStore store;
        store.seedInitialTypes();
        QCOMPARE(store.read(keys::type::Bitmap.key), QStringLiteral("*.bmp;"));
        QCOMPARE(store.read(keys::type::Jpg.key), QStringLiteral("*.jpeg;*.jpg;"));
        QCOMPARE(store.read(keys::type::Gif.key), QStringLiteral("*.gif;"));
        QCOMPARE(store.read(keys::type::Ico.key), QStringLiteral("&;"));
    }
    // They reach the disk at the latest when the store closes: a later run finds them.
    QCOMPARE(readInLaterRun(iso, keys::type::Bitmap.key), QStringLiteral("*.bmp;"));
    QCOMPARE(readInLaterRun(iso, keys::type::Ico.key), QStringLiteral("&;"));
    QCOMPARE(test::readBytes(iso.fileName() + QStringLiteral(".damaged")), file);
}

// A first start creates the settings file only when asked to, after its window is shown.
void TestSettings::seedWaitsForCommitWhereThereIsNoFile()
{
    test::IsolatedSettings iso;
    SettingsStore store;
    store.seedInitialTypes();
    QCOMPARE(store.read(keys::type::Jpg.key), QStringLiteral("*.jpeg;*.jpg;"));
    store.reload();
    QCOMPARE(store.read(keys::type::Ico.key), QStringLiteral("&;"));
    QVERIFY(!QFileInfo::exists(iso.fileName()));

    QVERIFY(store.commit());
    QCOMPARE(iso.get("Type", "Bitmap").toString(), QStringLiteral("*.bmp;"));
    QCOMPARE(iso.get("Type", "Jpg").toString(), QStringLiteral("*.jpeg;*.jpg;"));
    QCOMPARE(iso.get("Type", "Gif").toString(), QStringLiteral("*.gif;"));
    QCOMPARE(iso.get("Type", "Ico").toString(), QStringLiteral("&;"));
}

// A file holding other keys may be damaged in ways found only by writing it: it is seeded
// through the ordinary writes at once.
void TestSettings::seedGoesIntoAnExistingFileAtOnce()
{
    test::IsolatedSettings iso;
    iso.put("Size", "Mid", QStringLiteral("1"));
    SettingsStore store;
    store.seedInitialTypes();
    QCOMPARE(iso.get("Type", "Gif").toString(), QStringLiteral("*.gif;"));
    QCOMPARE(iso.get("Size", "Mid").toString(), QStringLiteral("1"));
}

void TestSettings::laterValuesBeatAnUnwrittenSeed()
{
    test::IsolatedSettings iso;
    SettingsStore store;
    store.seedInitialTypes();

    // The options window applies before the seed is written.
    store.write(keys::type::Ico.key, QStringLiteral("*.ico;"));
    QCOMPARE(store.read(keys::type::Ico.key), QStringLiteral("*.ico;"));

    // Another copy of the program creates the file with a key of its own.
    QVERIFY(writeInOtherCopy(iso, keys::type::Gif.key, QStringLiteral("&;")));
    store.reload();
    QCOMPARE(store.read(keys::type::Gif.key), QStringLiteral("&;"));
    QCOMPARE(store.read(keys::type::Bitmap.key), QStringLiteral("*.bmp;"));

    QVERIFY(store.commit());
    QCOMPARE(readInLaterRun(iso, keys::type::Ico.key), QStringLiteral("*.ico;"));
    QCOMPARE(readInLaterRun(iso, keys::type::Gif.key), QStringLiteral("&;"));
    QCOMPARE(readInLaterRun(iso, keys::type::Bitmap.key), QStringLiteral("*.bmp;"));
    QCOMPARE(readInLaterRun(iso, keys::type::Jpg.key), QStringLiteral("*.jpeg;*.jpg;"));
}

void TestSettings::initialTypesNotSeededOverAnyTypeKey_data()
{
    test::addColumns<QString, QString>("key", "value");

    QTest::newRow("only Ico disabled") << "Ico"
                                       << "&;";
    QTest::newRow("only Bitmap enabled") << "Bitmap"
                                         << "*.bmp;";
    QTest::newRow("only Jpg, unrecognised") << "Jpg"
                                            << "*.JPG;";
    QTest::newRow("only Gif, empty") << "Gif"
                                     << "";
}

void TestSettings::initialTypesNotSeededOverAnyTypeKey()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    const keys::Key* present = keyNamed(key);
    QVERIFY(present);

    test::IsolatedSettings iso;
    iso.put(present->section, present->name, value);
    SettingsStore store;
    store.seedInitialTypes();
    QString pattern;
    for (const auto& type : keys::type::Keys) {
        const QString read = store.read(type.key);
        if (std::strcmp(type.key.name, present->name) == 0)
            QCOMPARE(read, value);
        else
            QCOMPARE(read, QString());
        pattern += read;
    }
    pattern += QLatin1String(keys::ClosingPattern);
    QCOMPARE(pattern, value + QStringLiteral("*.vuq"));
}

void TestSettings::seedingLeavesSizeKeysAlone()
{
    test::IsolatedSettings iso;
    iso.put("Size", "Big", QStringLiteral("1"));
    {
        SettingsStore store;
        store.seedInitialTypes();
        QVERIFY(store.commit());
    }
    SettingsStore later;
    QCOMPARE(later.read(keys::size::Small), QString());
    QCOMPARE(later.read(keys::size::Mid), QString());
    QCOMPARE(later.read(keys::size::Big), QStringLiteral("1"));
    QCOMPARE(later.read(keys::type::Bitmap.key), QStringLiteral("*.bmp;"));
}

// A user of the first four types finds PNG and WebP, then TIFF and SVG, on once: a choice made
// about any of them stays.
void TestSettings::laterTypesSeededOnceBesideEarlierOnes()
{
    test::IsolatedSettings iso;
    iso.put("Type", "Bitmap", QStringLiteral("&;"));
    SettingsStore().seedInitialTypes();
    QCOMPARE(SettingsStore().read({"Type", "Png"}), QStringLiteral("*.png;"));
    QCOMPARE(SettingsStore().read({"Type", "Webp"}), QStringLiteral("*.webp;"));
    QCOMPARE(SettingsStore().read({"Type", "Jpg"}), QString());
    QSettings(iso.fileName(), QSettings::IniFormat).remove(QStringLiteral("Type/Webp"));
    iso.put("Type", "Png", QStringLiteral("&;"));
    SettingsStore().seedInitialTypes();
    QCOMPARE(SettingsStore().read({"Type", "Webp"}), QString());
    // TIFF and SVG came with the first seeding too; TIFF turned off stays off, SVG gone stays gone.
    QCOMPARE(SettingsStore().read({"Type", "Tiff"}), QStringLiteral("*.tif;*.tiff;"));
    QSettings(iso.fileName(), QSettings::IniFormat).remove(QStringLiteral("Type/Svg"));
    iso.put("Type", "Tiff", QStringLiteral("&;"));
    SettingsStore().seedInitialTypes();
    QCOMPARE(SettingsStore().read({"Type", "Tiff"}), QStringLiteral("&;"));
    QCOMPARE(SettingsStore().read({"Type", "Svg"}), QString());
}

void TestSettings::commitFailsWhenFolderCannotBeCreated()
{
    test::IsolatedSettings iso;
    // The folder would have to be made inside a plain file.
    const QString plainFile = iso.folder() + QStringLiteral("/plain");
    QVERIFY(test::writeBytes(plainFile, "not a folder"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       plainFile + QStringLiteral("/config"));
    SettingsStore store;
    store.write(keys::size::Small, QStringLiteral("1"));
    QVERIFY(!store.commit());
}

void TestSettings::commitFailsWhenFileCannotBeReplaced()
{
    test::IsolatedSettings iso;
    // A folder where the file belongs cannot be replaced by the file.
    QVERIFY(QDir().mkpath(iso.fileName()));
    SettingsStore store;
    store.write(keys::type::Gif.key, QStringLiteral("*.gif;"));
    QVERIFY(!store.commit());
    QVERIFY(QFileInfo(iso.fileName()).isDir());
}

void TestSettings::commitFailsInReadOnlyFolder()
{
    test::IsolatedSettings iso;
    QVERIFY(test::writeBytes(iso.fileName(), "[Size]\nSmall=0\n"));
    const QFile::Permissions writable = QFileInfo(iso.folder()).permissions();
    QVERIFY(QFile::setPermissions(iso.folder(), QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(iso.folder(), writable); });
    {
        QFile probe(iso.folder() + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            QSKIP("Folder permissions are not enforced for this user (running as root?)");
        }
    }
    SettingsStore store;
    store.write(keys::size::Small, QStringLiteral("1"));
    QVERIFY(!store.commit());
}

// A commit that cannot store leaves the store as it was, in this process and on disk, and a
// later commit that can, stores.
void TestSettings::failedCommitLeavesStoreAsItWas_data()
{
    test::addRows<QString>("obstacle", {{"folder replaced by a file", "folder"},
                                        {"lock held and not released", "lock"}});
}

void TestSettings::failedCommitLeavesStoreAsItWas()
{
    QFETCH(QString, obstacle);
    test::IsolatedSettings iso;
    iso.put("Size", "Small", QStringLiteral("0"));
    const QByteArray before = test::readBytes(iso.fileName());
    SettingsStore store;
    SettingsStore other;
    store.write(keys::size::Small, QStringLiteral("1"));
    store.write(keys::size::Mid, QStringLiteral("1"));
    {
        const QString away = iso.folder() + QStringLiteral("-away");
        QLockFile held(iso.fileName() + QStringLiteral(".lock"));
        if (obstacle == QLatin1String("folder")) {
            QVERIFY(QDir().rename(iso.folder(), away));
            QVERIFY(test::writeBytes(iso.folder(), "not a folder"));
        } else {
            QVERIFY(held.tryLock(0));
        }
        const bool stored = store.commit();
        if (obstacle == QLatin1String("folder")) {
            QVERIFY(QFile::remove(iso.folder()));
            QVERIFY(QDir().rename(away, iso.folder()));
        }
        QVERIFY(!stored);
    }
    QCOMPARE(test::readBytes(iso.fileName()), before);
    for (SettingsStore* copy : {&store, &other}) {
        copy->reload();
        QCOMPARE(copy->read(keys::size::Small), QStringLiteral("0"));
        QCOMPARE(copy->read(keys::size::Mid), QString());
    }

    store.write(keys::size::Big, QStringLiteral("1"));
    QVERIFY(store.commit());
    QCOMPARE(readInLaterRun(iso, keys::size::Big), QStringLiteral("1"));
    QCOMPARE(readInLaterRun(iso, keys::size::Small), QStringLiteral("0"));
    QCOMPARE(readInLaterRun(iso, keys::size::Mid), QString());
}

void TestSettings::otherCopysWriteSeenAfterReload()
{
    test::IsolatedSettings iso;
    SettingsStore store;
    store.seedInitialTypes();
    QCOMPARE(store.read(keys::type::Ico.key), QStringLiteral("&;"));

    QVERIFY(writeInOtherCopy(iso, keys::type::Ico.key, QStringLiteral("*.ico;")));
    QVERIFY(writeInOtherCopy(iso, keys::size::Big, QStringLiteral("1")));
    QCOMPARE(store.read(keys::type::Ico.key), QStringLiteral("&;"));
    QCOMPARE(store.read(keys::size::Big), QString());

    store.reload();
    QCOMPARE(store.read(keys::type::Ico.key), QStringLiteral("*.ico;"));
    QCOMPARE(store.read(keys::size::Big), QStringLiteral("1"));
    QCOMPARE(store.read(keys::type::Bitmap.key), QStringLiteral("*.bmp;"));

    // And the other way round: this copy's write reaches a copy started afterwards.
    store.write(keys::size::Mid, QStringLiteral("0"));
    QVERIFY(store.commit());
    QCOMPARE(readInLaterRun(iso, keys::size::Mid), QStringLiteral("0"));
    QCOMPARE(readInLaterRun(iso, keys::type::Ico.key), QStringLiteral("*.ico;"));
}

void TestSettings::damagedFileKeptAsideBeforeFirstWrite()
{
    test::IsolatedSettings iso;
    const QByteArray damaged = "[Type]\nBitmap=\"*.gif;\"\n[Size\nSmall\n";
    QVERIFY(test::writeBytes(iso.fileName(), damaged));
    const QString keptName = iso.fileName() + QStringLiteral(".damaged");

    SettingsStore store;
    (void)store.read(keys::type::Bitmap.key);
    store.write(keys::size::Small, QStringLiteral("1"));
    QVERIFY(!QFileInfo::exists(keptName));

    QVERIFY(store.commit());
    QCOMPARE(test::readBytes(keptName), damaged);
    QCOMPARE(readInLaterRun(iso, keys::size::Small), QStringLiteral("1"));
    // What could be read of the damaged file is kept in the rewritten one.
    QCOMPARE(readInLaterRun(iso, keys::type::Bitmap.key), QStringLiteral("*.gif;"));

    // Only the damaged original is kept: later writes leave the copy as it was.
    store.write(keys::size::Mid, QStringLiteral("0"));
    QVERIFY(store.commit());
    QCOMPARE(test::readBytes(keptName), damaged);
}

// Two copies of the program that both read a damaged file: the second to apply finds the file
// the first rewrote, and its own stale view of the damage does not replace the kept original.
// Each distinct damaged original is kept once.
void TestSettings::damagedOriginalsAreNeverWrittenOver()
{
    test::IsolatedSettings iso;
    const QByteArray first = "[Type]\nBitmap=*.gif;\n[Size\n";
    const QByteArray second = "[Type]\nGif=*.gif;\n[Size\nBig\n";
    QVERIFY(test::writeBytes(iso.fileName(), first));
    QProcess b;
    b.setProcessEnvironment(childEnvironment(iso));
    b.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--store"), QStringLiteral("write-when-told"), QStringLiteral("Size"),
             QStringLiteral("Mid"), QString::fromLatin1(QByteArray("1").toBase64())});
    QVERIFY(b.waitForReadyRead(30000));

    SettingsStore a;
    a.write(keys::size::Small, QStringLiteral("1"));
    QVERIFY(a.commit());
    b.write("\n");
    QVERIFY(b.waitForFinished(30000));
    QCOMPARE(b.exitCode(), 0);
    QCOMPARE(test::readBytes(settings::damagedCopyName(iso.fileName(), 0)), first);
    QVERIFY(!QFileInfo::exists(settings::damagedCopyName(iso.fileName(), 1)));
    QCOMPARE(readInLaterRun(iso, keys::size::Small), QStringLiteral("1"));
    QCOMPARE(readInLaterRun(iso, keys::size::Mid), QStringLiteral("1"));

    for (const QByteArray& damaged : {second, first, second}) {
        QVERIFY(test::writeBytes(iso.fileName(), damaged));
        a.write(keys::size::Big, QStringLiteral("0"));
        QVERIFY(a.commit());
    }
    QCOMPARE(test::readBytes(settings::damagedCopyName(iso.fileName(), 0)), first);
    QCOMPARE(test::readBytes(settings::damagedCopyName(iso.fileName(), 1)), second);
    QVERIFY(!QFileInfo::exists(settings::damagedCopyName(iso.fileName(), 2)));
}

// A file that grew past the cap while the program ran is moved aside unread; the new one holds
// the values read last besides those written.
void TestSettings::fileGrownTooLargeIsReplacedByTheValuesRead()
{
    test::IsolatedSettings iso;
    const QByteArray before = "[Type]\nBitmap=*.bmp;\nIco=&;\n[Folder]\nLast=/p\n";
    QVERIFY(test::writeBytes(iso.fileName(), before));
    SettingsStore store;
    const QByteArray grown = before + "x=" + QByteArray(keys::MaxFileBytes, 'x') + '\n';
    QVERIFY(test::writeBytes(iso.fileName(), grown));
    store.write(keys::size::Small, QStringLiteral("1"));
    QVERIFY(store.commit());
    QCOMPARE(test::readBytes(settings::damagedCopyName(iso.fileName(), 0)), grown);
    QSettings::SettingsMap file;
    QVERIFY(settings::parseSettings(test::readBytes(iso.fileName()), file));
    QCOMPARE(file, (QSettings::SettingsMap{{"Type/Bitmap", "*.bmp;"},
                                           {"Type/Ico", "&;"},
                                           {"Folder/Last", "/p"},
                                           {"Size/Small", "1"}}));
}

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--store") == 0)
        return runStoreCommand(argc, argv);
    QCoreApplication app(argc, argv);
    TestSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
