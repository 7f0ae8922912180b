// The current file: the folder listed, its names under the pattern, the selected one, and the
// steps of the tile window through them.
#include "core/CurrentFile.h"
#include "core/PicturePath.h"
#include "support/Files.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelvo;

Q_DECLARE_METATYPE(zelvo::Step)

namespace {

using Change = CurrentFile::Change;

// The selections notified: the name selected (or "") and how.
QList<std::pair<QString, Change>> notified(const QSignalSpy& spy)
{
    QList<std::pair<QString, Change>> changes;
    for (const QList<QVariant>& signal : spy) {
        const QString path = signal.at(0).toString();
        changes.append({path.section(QDir::separator(), -1), signal.at(1).value<Change>()});
    }
    return changes;
}

} // namespace

class TestCurrentFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void droppedNameClearsTheSelection_data();
    void droppedNameClearsTheSelection();
    void folderChangesAndFailures();
    void steps_data();
    void steps();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<CurrentFile> m_file;
};

// A folder of a.bmp to d.bmp beside a text file, listed by the bitmap pattern.
void TestCurrentFile::init()
{
    QVERIFY(m_folder.isValid());
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "notes.txt"})
        QVERIFY(test::writeBytes(m_folder.filePath(QLatin1String(name)), "x"));
    m_file = std::make_unique<CurrentFile>();
    m_file->setPattern(QStringLiteral("*.bmp;"));
    QVERIFY(m_file->setFolder(m_folder.path()));
}

void TestCurrentFile::droppedNameClearsTheSelection_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("re-read") << 0;
    QTest::newRow("the same folder chosen again") << 1;
    QTest::newRow("the pattern set again") << 2;
}

// Whatever reads the folder again, a selected name no longer listed is no longer selected, and
// that is notified once, after the names.
void TestCurrentFile::droppedNameClearsTheSelection()
{
    QFETCH(int, how);
    m_file->select(QStringLiteral("b.bmp"));
    QCOMPARE(m_file->path(), joinPicturePath(m_folder.path(), QStringLiteral("b.bmp")));
    QVERIFY(QFile::remove(m_folder.filePath(QStringLiteral("b.bmp"))));
    QSignalSpy selections(m_file.get(), &CurrentFile::selected);
    QSignalSpy listings(m_file.get(), &CurrentFile::listed);
    connect(m_file.get(), &CurrentFile::selected, this, [&] { QCOMPARE(listings.size(), 1); });
    if (how == 0)
        m_file->reread();
    else if (how == 1)
        QVERIFY(m_file->setFolder(m_folder.path() + QLatin1Char('/')));
    else
        m_file->setPattern(m_file->pattern());
    QCOMPARE(m_file->names(), (QStringList{"a.bmp", "c.bmp", "d.bmp"}));
    QCOMPARE(notified(selections), (QList<std::pair<QString, Change>>{{"", Change::Cleared}}));
    QCOMPARE(m_file->path(), QString());
    // A name still listed stays selected through a re-read, without a word.
    m_file->select(QStringLiteral("c.bmp"));
    selections.clear();
    m_file->reread();
    QCOMPARE(m_file->selectedName(), QStringLiteral("c.bmp"));
    QCOMPARE(selections.size(), 0);
}

void TestCurrentFile::folderChangesAndFailures()
{
    m_file->select(QStringLiteral("a.bmp"));
    QSignalSpy selections(m_file.get(), &CurrentFile::selected);
    QSignalSpy folders(m_file.get(), &CurrentFile::folderChanged);
    // A name not listed, and a folder that cannot be read, change nothing but the selection.
    QVERIFY(!m_file->setFolder(m_folder.filePath(QStringLiteral("missing"))));
    QCOMPARE(m_file->selectedName(), QStringLiteral("a.bmp"));
    m_file->select(QStringLiteral("notes.txt"));
    m_file->select(QString());
    m_file->select(QStringLiteral("d.bmp"));
    // Choosing the selected file again loads it afresh.
    m_file->select(QStringLiteral("d.bmp"));
    QCOMPARE(notified(selections),
             (QList<std::pair<QString, Change>>{
                 {"", Change::Cleared}, {"d.bmp", Change::Chosen}, {"d.bmp", Change::Chosen}}));
    selections.clear();
    QTemporaryDir other;
    QVERIFY(test::writeBytes(other.filePath(QStringLiteral("d.bmp")), "x"));
    QVERIFY(m_file->setFolder(other.path()));
    QCOMPARE(folders.size(), 1);
    QCOMPARE(notified(selections), (QList<std::pair<QString, Change>>{{"", Change::Cleared}}));
    QCOMPARE(m_file->names(), QStringList{"d.bmp"});
}

void TestCurrentFile::steps_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<Step>("step");
    QTest::addColumn<bool>("moved");
    // The tile window cannot show the file stepped to, and still shows the one stepped from.
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("selectedAfter");
    QTest::addColumn<int>("lastChange");

    QTest::newRow("next") << "b.bmp" << Step::Next << true << false << "c.bmp"
                          << int(Change::Stepped);
    QTest::newRow("at the end") << "d.bmp" << Step::Next << false << false << "d.bmp" << -1;
    QTest::newRow("last from none")
        << "" << Step::Last << true << false << "d.bmp" << int(Change::Stepped);
    QTest::newRow("next fails: on past it")
        << "a.bmp" << Step::Next << true << true << "c.bmp" << int(Change::Stepped);
    QTest::newRow("first fails: on past it")
        << "c.bmp" << Step::First << true << true << "b.bmp" << int(Change::Stepped);
    QTest::newRow("previous fails at the start: back to the file shown")
        << "b.bmp" << Step::Previous << true << true << "b.bmp" << int(Change::Returned);
    QTest::newRow("last fails: on back from it")
        << "a.bmp" << Step::Last << true << true << "c.bmp" << int(Change::Stepped);
    QTest::newRow("next fails at the end: back to the file shown")
        << "c.bmp" << Step::Next << true << true << "c.bmp" << int(Change::Returned);
}

void TestCurrentFile::steps()
{
    QFETCH(QString, from);
    QFETCH(Step, step);
    QFETCH(bool, moved);
    QFETCH(bool, fails);
    QFETCH(QString, selectedAfter);
    QFETCH(int, lastChange);
    m_file->select(from);
    QSignalSpy selections(m_file.get(), &CurrentFile::selected);
    QCOMPARE(m_file->step(step), moved);
    if (fails)
        m_file->stepFailed(joinPicturePath(m_folder.path(), from));
    QCOMPARE(m_file->selectedName(), selectedAfter);
    QCOMPARE(selections.isEmpty() ? -1 : int(notified(selections).last().second), lastChange);
}

QTEST_GUILESS_MAIN(TestCurrentFile)
#include "tst_currentfile.moc"
