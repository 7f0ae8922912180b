// A damaged, unreadable or unwritable settings file, and two copies of the program writing at
// once: the program runs on, never leaves a half-written file, keeps a damaged file aside
// before rewriting it, and says so when the choices could not be stored.

#include "support/IsolatedSettings.h"
#include "support/TestPlatform.h"

#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "settings/DamagedCopies.h"
#include "settings/OptionsWindow.h"
#include "settings/SettingsFormat.h"
#include "settings/SettingsStore.h"
#include "support/DataTable.h"
#include "support/Files.h"
#include "support/StoreKeys.h"
#include "widgets/TriStateBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

using namespace zelvo;
namespace keys = zelvo::test::keys;

namespace {

constexpr char WriterVariable[] = "ZELVO_TEST_SETTINGS_WRITER";
constexpr char FolderVariable[] = "ZELVO_TEST_SETTINGS_FOLDER";
constexpr char LockedVariable[] = "ZELVO_TEST_SETTINGS_LOCKED";
constexpr char SwappedVariable[] = "ZELVO_TEST_SETTINGS_SWAPPED";
constexpr int WritesPerCopy = 60;

// The seven values one apply writes, in the store's order Small, Mid, Big, Bitmap, Jpg, Gif,
// Ico. Writer w's write number i is one recognisable whole set.
[[nodiscard]] QStringList choiceSet(int writer, int write)
{
    const int size = (writer + write) % 3;
    const int types = (writer * 5 + write) % 15 + 1;
    QStringList values;
    for (int s = 0; s < 3; ++s)
        values.append(QLatin1String(s == size ? keys::size::On : keys::size::Off));
    for (std::size_t t = 0; t < keys::type::Keys.size(); ++t) {
        values.append(
            QLatin1String((types >> t) & 1 ? keys::type::Keys[t].pattern : keys::type::Disabled));
    }
    return values;
}

[[nodiscard]] std::array<keys::Key, 7> allKeys()
{
    return {keys::size::Small,   keys::size::Mid,     keys::size::Big,    keys::type::Bitmap.key,
            keys::type::Jpg.key, keys::type::Gif.key, keys::type::Ico.key};
}

void writeSet(SettingsStore& store, const QStringList& values)
{
    const auto keyList = allKeys();
    for (std::size_t k = 0; k < keyList.size(); ++k)
        store.write(keyList[k], values.at(qsizetype(k)));
}

// What a file holds, read as a later run would: nothing when it does not parse.
[[nodiscard]] std::optional<QStringList> storedSet(const QString& fileName)
{
    QSettings::SettingsMap file;
    if (!settings::parseSettings(test::readBytes(fileName), file))
        return std::nullopt;
    QStringList values;
    for (const keys::Key& key : allKeys()) {
        values.append(
            file.value(QLatin1String(key.section) + QLatin1Char('/') + QLatin1String(key.name))
                .toString());
    }
    return values;
}

[[nodiscard]] bool isSomeWritersSet(const QStringList& values, int writers)
{
    for (int w = 0; w < writers; ++w) {
        for (int i = 0; i < WritesPerCopy; ++i) {
            if (values == choiceSet(w, i))
                return true;
        }
    }
    return false;
}

// What Session::apply stores, in the order of allKeys().
const QStringList Applied{"1", "0", "0", "*.bmp;", "*.jpeg;*.jpg;", "*.gif;", "*.ico;"};

// The program started on the isolated store.
struct Session
{
    explicit Session(Platform& platform) : windows(store, platform) { windows.start(); }

    // Applies Small with every type listed, a change from what any of these stores shows.
    void apply()
    {
        windows.get<MainWindow>().showOptions();
        OptionsWindow& options = windows.get<OptionsWindow>();
        options.sizeButtons[0]->setChecked(true);
        for (TriStateBox* box : options.typeBoxes)
            box->setValue(1);
        options.apply();
    }

    SettingsStore store;
    WindowRegistry windows;
};

// The child process: one more copy of the program applying choices as fast as it can.
int runWriter(int writer, int& argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = qEnvironmentVariable(FolderVariable);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    int failures = 0;
    for (int i = 0; i < WritesPerCopy; ++i) {
        SettingsStore store;
        writeSet(store, choiceSet(writer, i));
        if (!store.commit())
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}

// The child process: the program started and applying while the settings lock cannot be had.
// Exit code 0 when the apply said that the choices could not be saved and nothing was stored.
int runLocked(int& argc, char** argv)
{
    QApplication app(argc, argv);
    const QString folder = qEnvironmentVariable(LockedVariable);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    test::TestPlatform platform;
    Session session(platform);
    if (!QTest::qWaitForWindowExposed(&session.windows.get<MainWindow>()))
        return 2;
    QTest::qWait(100);
    session.apply();
    const bool refused =
        platform.messages.size() == 1 &&
        platform.messages.first().prompt == QLatin1String("Your choices could not be saved.") &&
        session.windows.get<OptionsWindow>().isVisible();
    return refused && !QFileInfo::exists(session.store.fileName()) ? 0 : 1;
}

// The child process: the program started on a settings file that is swapped for a pipe once it
// says "open" and is told so on its input. Exit code 0 when a reload and an apply then keep the
// values read before, and the apply says that the choices could not be saved.
int runSwapped(int& argc, char** argv)
{
    QApplication app(argc, argv);
    const QString folder = qEnvironmentVariable(SwappedVariable);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    test::TestPlatform platform;
    Session session(platform);
    std::puts("open");
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 3;
    session.store.reload();
    session.apply();
    return platform.messages.size() == 1 &&
                   platform.messages.first().prompt ==
                       QLatin1String("Your choices could not be saved.") &&
                   session.store.read(keys::size::Small) == QLatin1String(keys::size::On)
               ? 0
               : 1;
}

} // namespace

class BadSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void damagedFileSurvivesStartAndApply_data();
    void damagedFileSurvivesStartAndApply();
    void unstorableApplySaysSo_data();
    void unstorableApplySaysSo();
    void applyAfterAFailedApplySaves();
    void lockThatCannotBeTakenFailsApply_data();
    void lockThatCannotBeTakenFailsApply();
    void damagedFileThatCannotBeKeptAsideStays();
    void pipeInPlaceOfTheFile();
    void pipeSwappedInWhileRunning();
    void twoStoresWritingAtOnce();
    void twoProcessesWritingAtOnce();
};

void BadSettingsTest::damagedFileSurvivesStartAndApply_data()
{
    QTest::addColumn<QByteArray>("content");
    std::mt19937 generator(1234);
    QByteArray garbage(64 * 1024, Qt::Uninitialized);
    for (char& byte : garbage)
        byte = char(generator() & 0xff);
    QTest::newRow("binary garbage") << garbage;
    QTest::newRow("only NUL bytes") << QByteArray(4096, '\0');
    QTest::newRow("huge line") << QByteArray("[Size]\nSmall=") + QByteArray(8 * 1024 * 1024, 'x') +
                                      "\nMid=1\n";
    QTest::newRow("huge section name") << "[" + QByteArray(1024 * 1024, 'S') + "]\nBig=1\n";
    QTest::newRow("unterminated section") << QByteArray("[Type\nBitmap=*.bmp;\n[Size\nBig=1");
    QTest::newRow("invalid UTF-8") << QByteArray("[Type]\nBitmap=\xff\xfe*.bmp;\n[Si\xc3ze]\n"
                                                 "Small=\x80\x80\nJpg=\xed\xa0\x80\n");
    QTest::newRow("unterminated quote") << QByteArray("[Type]\nGif=\"*.gif;\n[Size]\nMid=1\n");
    QTest::newRow("escapes cut short") << QByteArray("[Type]\nIco=\\x\\u12\\\n");
}

void BadSettingsTest::damagedFileSurvivesStartAndApply()
{
    QFETCH(QByteArray, content);
    test::IsolatedSettings iso;
    QVERIFY(test::writeBytes(iso.fileName(), content));

    test::TestPlatform platform;
    Session(platform).apply();

    QVERIFY2(platform.messages.isEmpty(), qPrintable(platform.messages.value(0).prompt));
    const std::optional<QStringList> stored = storedSet(iso.fileName());
    QVERIFY(stored);
    QCOMPARE(*stored, Applied);

    // Nothing the user had is lost without a trace: a file that does not parse is kept aside,
    // and one that does keeps its first line, whatever it holds, in its place.
    QSettings::SettingsMap read;
    const bool damaged =
        content.size() > keys::MaxFileBytes || !settings::parseSettings(content, read);
    qInfo("%s", damaged ? "does not parse: kept aside" : "parses: edited in place");
    if (damaged)
        QCOMPARE(test::readBytes(iso.fileName() + QStringLiteral(".damaged")), content);
    else
        QVERIFY(test::readBytes(iso.fileName()).startsWith(content.split('\n').first()));
}

void BadSettingsTest::unstorableApplySaysSo_data()
{
    test::addRows<QString>("obstacle", {{"folder in the file's place", "folder"},
                                        {"file that cannot be read", "unreadable"},
                                        {"read-only settings folder", "read-only"}});
}

void BadSettingsTest::unstorableApplySaysSo()
{
    QFETCH(QString, obstacle);
    if (obstacle != QLatin1String("folder") && ::geteuid() == 0)
        QSKIP("file permissions do not bind the superuser");

    test::IsolatedSettings iso;
    const QFile::Permissions folderPermissions = QFile::permissions(iso.folder());
    QByteArray before;
    if (obstacle == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(QDir(iso.fileName()).filePath(QStringLiteral("inside"))));
    } else if (obstacle == QLatin1String("unreadable")) {
        iso.put("Size", "Small", QStringLiteral("1"));
        before = test::readBytes(iso.fileName());
        QVERIFY(QFile::setPermissions(iso.fileName(), QFile::Permissions()));
    } else {
        iso.put("Size", "Small", QStringLiteral("1"));
        before = test::readBytes(iso.fileName());
        QVERIFY(QFile::setPermissions(iso.folder(), QFile::ReadOwner | QFile::ExeOwner));
    }

    test::TestPlatform platform;
    Session(platform).apply();
    QFile::setPermissions(iso.folder(), folderPermissions);
    QFile::setPermissions(iso.fileName(), QFile::ReadOwner | QFile::WriteOwner);

    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.first().prompt, QStringLiteral("Your choices could not be saved."));
    QCOMPARE(platform.messages.first().style, MessageStyle::Critical);
    // What the file held before is still there. (Read as bytes: a settings object of this
    // process would see the store's unsaved values.)
    if (obstacle != QLatin1String("folder"))
        QCOMPARE(test::readBytes(iso.fileName()), before);
}

// One failed apply does not fail the next: once the file can be written the apply stores the
// choices and closes. Until then the store reads as before the failed apply.
void BadSettingsTest::applyAfterAFailedApplySaves()
{
    test::IsolatedSettings iso;
    QVERIFY(QDir().mkpath(iso.fileName()));
    test::TestPlatform platform;
    Session session(platform);
    const auto values = [&session] {
        QStringList read;
        for (const keys::Key& key : allKeys())
            read.append(session.store.read(key));
        return read;
    };
    const QStringList before = values();
    session.apply();
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.first().prompt, QStringLiteral("Your choices could not be saved."));
    QCOMPARE(values(), before);

    QVERIFY(QDir(iso.fileName()).removeRecursively());
    session.windows.get<OptionsWindow>().apply();
    QCOMPARE(platform.messages.size(), 1);
    QVERIFY(!session.windows.get<OptionsWindow>().isVisible());
    QVERIFY(session.windows.get<MainWindow>().isVisible());
    const std::optional<QStringList> stored = storedSet(iso.fileName());
    QVERIFY(stored);
    QCOMPARE(*stored, Applied);
}

// A lock file that can never be taken (a folder or a pipe in its place) makes the start and the
// apply give up after a while rather than wait for ever. Run as another process, which the
// test stops if it does not end in time.
void BadSettingsTest::lockThatCannotBeTakenFailsApply_data()
{
    test::addRows<QString>("obstacle", {{"folder", "folder"}, {"pipe", "pipe"}});
}

void BadSettingsTest::lockThatCannotBeTakenFailsApply()
{
    QFETCH(QString, obstacle);
    test::IsolatedSettings iso;
    const QByteArray lock = QFile::encodeName(iso.fileName() + QStringLiteral(".lock"));
    QVERIFY(obstacle == QLatin1String("pipe") ? ::mkfifo(lock.constData(), 0600) == 0
                                              : QDir().mkpath(QFile::decodeName(lock)));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(LockedVariable), iso.folder());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    const bool ended = child.waitForFinished(60000);
    if (!ended) {
        child.kill();
        child.waitForFinished();
    }
    QVERIFY2(ended, "the program still waits for the settings lock");
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}

// When the copy of a damaged file cannot be made, the file is not written over: the apply
// says that it could not save, and the file keeps every byte.
void BadSettingsTest::damagedFileThatCannotBeKeptAsideStays()
{
    const QByteArray content("[Type\nBitmap=*.bmp;\n[Size\nBig=1\x01\xff[");
    QTemporaryDir probeFolder;
    const QString probe = probeFolder.filePath(QStringLiteral("probe.conf"));
    QVERIFY(test::writeBytes(probe, content));
    if (QSettings(probe, QSettings::IniFormat).status() != QSettings::FormatError)
        QSKIP("Qt parses this content; no damaged file to keep aside");

    test::IsolatedSettings iso;
    QVERIFY(test::writeBytes(iso.fileName(), content));
    // Folders where the copies would go: none of them can be written to.
    for (int i = 0; i < keys::MaxDamagedCopies; ++i)
        QVERIFY(QDir().mkpath(keys::damagedCopyName(iso.fileName(), i)));

    test::TestPlatform platform;
    Session(platform).apply();

    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.first().prompt, QStringLiteral("Your choices could not be saved."));
    QCOMPARE(test::readBytes(iso.fileName()), content);
}

void BadSettingsTest::pipeInPlaceOfTheFile()
{
    test::IsolatedSettings iso;
    QCOMPARE(::mkfifo(QFile::encodeName(iso.fileName()).constData(), 0600), 0);

    // Nothing ever writes to the pipe: a read of it would wait for ever.
    test::TestPlatform platform;
    Session(platform).apply();

    QVERIFY(platform.messages.isEmpty());
    const QFileInfo stored(iso.fileName());
    QVERIFY(stored.isFile());
    const std::optional<QStringList> values = storedSet(iso.fileName());
    QVERIFY(values);
    QCOMPARE(*values, Applied);
    const QFileInfo kept(iso.fileName() + QStringLiteral(".damaged"));
    QVERIFY(kept.exists() && !kept.isFile());
}

void BadSettingsTest::pipeSwappedInWhileRunning()
{
    test::IsolatedSettings iso;
    iso.put("Size", "Small", QStringLiteral("1"));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(SwappedVariable), iso.folder());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForReadyRead(30000));
    QVERIFY(QFile::remove(iso.fileName()));
    QCOMPARE(::mkfifo(QFile::encodeName(iso.fileName()).constData(), 0600), 0);
    child.write("\n");
    const bool ended = child.waitForFinished(30000);
    if (!ended) {
        child.kill();
        child.waitForFinished();
    }
    QVERIFY2(ended, "the program waits for ever on a pipe in the settings file's place");
    QCOMPARE(child.exitCode(), 0);
    QVERIFY(!QFileInfo(iso.fileName()).isFile());
}

void BadSettingsTest::twoStoresWritingAtOnce()
{
    test::IsolatedSettings iso;
    SettingsStore first;
    SettingsStore second;
    for (int i = 0; i < WritesPerCopy; ++i) {
        writeSet(first, choiceSet(0, i));
        writeSet(second, choiceSet(1, i));
        // Commits in both orders.
        if (i % 2) {
            QVERIFY(first.commit());
            QVERIFY(second.commit());
        } else {
            QVERIFY(second.commit());
            QVERIFY(first.commit());
        }
        // Each commit stores its own whole set: the set committed last wins.
        const std::optional<QStringList> stored = storedSet(iso.fileName());
        QVERIFY(stored);
        QVERIFY2(*stored == choiceSet(0, i) || *stored == choiceSet(1, i),
                 qPrintable(stored->join(QLatin1Char(' '))));
    }
    first.reload();
    second.reload();
    QCOMPARE(first.read(keys::type::Ico.key), second.read(keys::type::Ico.key));
}

void BadSettingsTest::twoProcessesWritingAtOnce()
{
    test::IsolatedSettings iso;
    constexpr int Writers = 10;
    QList<QProcess*> writers;
    for (int w = 1; w < Writers; ++w) {
        auto* process = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(WriterVariable), QString::number(w));
        environment.insert(QLatin1String(FolderVariable), iso.folder());
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(), {});
        writers.append(process);
    }
    for (QProcess* process : writers)
        QVERIFY(process->waitForStarted(30000));

    // This process writes too, and between its writes reads what the others left.
    int reads = 0;
    for (int i = 0; i < WritesPerCopy; ++i) {
        SettingsStore store;
        writeSet(store, choiceSet(0, i));
        QVERIFY(store.commit());
        const std::optional<QStringList> stored = storedSet(iso.fileName());
        QVERIFY2(stored, "the settings file did not parse while being written");
        QVERIFY2(isSomeWritersSet(*stored, Writers), qPrintable(stored->join(QLatin1Char(' '))));
        ++reads;
    }
    for (QProcess* process : writers) {
        QVERIFY(process->waitForFinished(120000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
    }
    const std::optional<QStringList> stored = storedSet(iso.fileName());
    QVERIFY(stored);
    QVERIFY(isSomeWritersSet(*stored, Writers));
    qInfo("%d writes by each of %d processes, %d checked reads", WritesPerCopy, Writers, reads);
}

int main(int argc, char* argv[])
{
    if (const int writer = qEnvironmentVariableIntValue(WriterVariable); writer > 0)
        return runWriter(writer, argc, argv);
    if (qEnvironmentVariableIsSet(LockedVariable))
        return runLocked(argc, argv);
    if (qEnvironmentVariableIsSet(SwappedVariable))
        return runSwapped(argc, argv);
    QApplication app(argc, argv);
    BadSettingsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_badsettings.moc"
