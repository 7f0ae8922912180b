// The current file: whatever reads the folder again, a name no longer listed is no longer
// selected; a step the tile window cannot show goes on past it or back to the file on show.
#include "core/CurrentFile.h"
#include "core/PicturePath.h"
#include "support/DataTable.h"
#include "support/Files.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelvo;
using Change = CurrentFile::Change;

class TestCurrentFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void droppedNameIsNotified_data();
    void droppedNameIsNotified();
    void failedStep_data();
    void failedStep();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<CurrentFile> m_file;
};

// a.bmp to d.bmp beside a text file, listed by the bitmap pattern.
void TestCurrentFile::init()
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "notes.txt"})
        QVERIFY(test::writeBytes(m_folder.filePath(QLatin1String(name)), "x"));
    m_file = std::make_unique<CurrentFile>();
    m_file->setPattern(QStringLiteral("*.bmp;"));
    QVERIFY(m_file->setFolder(m_folder.path()));
}

void TestCurrentFile::droppedNameIsNotified_data()
{
    test::addRows<int>("how",
                       {{"re-read", 0}, {"the same folder chosen", 1}, {"the pattern set", 2}});
}

// Once, after the names, so that what follows the selection finds them listed.
void TestCurrentFile::droppedNameIsNotified()
{
    QFETCH(int, how);
    const auto readAgain = [&] {
        if (how == 0)
            m_file->reread();
        else if (how == 1)
            QVERIFY(m_file->setFolder(m_folder.path() + QLatin1Char('/')));
        else
            m_file->setPattern(m_file->pattern());
    };
    m_file->select(QStringLiteral("b.bmp"));
    QVERIFY(QFile::remove(m_folder.filePath(QStringLiteral("b.bmp"))));
    QStringList seen;
    connect(m_file.get(), &CurrentFile::selected, this, [&](const QString& path, Change how) {
        seen.append(path + QLatin1Char(' ') + QString::number(int(how)) + QLatin1Char(' ') +
                    m_file->names().join(QLatin1Char(',')));
    });
    readAgain();
    QCOMPARE(seen, QStringList{QStringLiteral(" %1 a.bmp,c.bmp,d.bmp").arg(int(Change::Cleared))});
    // A name still listed stays selected without a word.
    m_file->select(QStringLiteral("c.bmp"));
    seen.clear();
    readAgain();
    QCOMPARE(m_file->selectedName(), QStringLiteral("c.bmp"));
    QCOMPARE(seen, QStringList());
}

void TestCurrentFile::failedStep_data()
{
    test::addColumns<QString, Step, QString, Change>("from", "step", "after", "how");
    QTest::newRow("next: on past it") << "a.bmp" << Step::Next << "c.bmp" << Change::Stepped;
    QTest::newRow("first: on past it") << "c.bmp" << Step::First << "b.bmp" << Change::Stepped;
    QTest::newRow("last: back past it") << "a.bmp" << Step::Last << "c.bmp" << Change::Stepped;
    QTest::newRow("next at the end: back to the file on show")
        << "c.bmp" << Step::Next << "c.bmp" << Change::Returned;
    QTest::newRow("previous at the start: back to the file on show")
        << "b.bmp" << Step::Previous << "b.bmp" << Change::Returned;
}

// The tile window still shows the file stepped from.
void TestCurrentFile::failedStep()
{
    QFETCH(QString, from);
    QFETCH(Step, step);
    QFETCH(QString, after);
    QFETCH(Change, how);
    m_file->select(from);
    QVERIFY(m_file->step(step));
    QSignalSpy selections(m_file.get(), &CurrentFile::selected);
    m_file->stepFailed(joinPicturePath(m_folder.path(), from));
    QCOMPARE(m_file->selectedName(), after);
    QCOMPARE(selections.size(), 1);
    QCOMPARE(selections.first().at(1).value<Change>(), how);
}

QTEST_GUILESS_MAIN(TestCurrentFile)
#include "tst_currentfile.moc"
