// Checks that the names the running program gives itself agree with what is installed for the
// desktop: the desktop entry and AppStream files carry the program's desktop file name, the
// entry's icon is drawn in every installed size, and the metainfo's newest release is the
// version the program reports.

#include "app/Startup.h"
#include "support/SourceTree.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

using zelvo::test::sourcePath;

[[nodiscard]] QString desktopEntryPath()
{
    return sourcePath(QStringLiteral("packaging/") + QGuiApplication::desktopFileName() +
                      QStringLiteral(".desktop"));
}

// As configured with the project's version.
[[nodiscard]] QString metainfoPath()
{
    return QStringLiteral(ZELVO_PACKAGING_DIR "/") + QGuiApplication::desktopFileName() +
           QStringLiteral(".metainfo.xml");
}

// The text of every element with this name, or its attribute when one is named.
[[nodiscard]] QStringList elementTexts(const QString& path, const QString& name,
                                       const QString& attribute = {})
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList found;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != name)
            continue;
        if (attribute.isEmpty())
            found.append(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        else
            found.append(xml.attributes().value(attribute).toString());
    }
    return found;
}

} // namespace

class TestDesktopIdentity : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { zelvo::configureApplication(); }

    void desktopEntryCarriesTheProgramsNames()
    {
        QVERIFY2(QFileInfo::exists(desktopEntryPath()), qPrintable(desktopEntryPath()));
        QSettings entry(desktopEntryPath(), QSettings::IniFormat);
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(entry.value(QStringLiteral("Name")).toString(),
                 QGuiApplication::applicationDisplayName());
        QCOMPARE(entry.value(QStringLiteral("Icon")).toString(),
                 QGuiApplication::desktopFileName());
        QCOMPARE(entry.value(QStringLiteral("Exec")).toString(), QStringLiteral("zelvo %f"));
    }

    void entryIconIsDrawnInEverySize_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {16, 22, 24, 32, 48, 64, 256})
            QTest::addRow("%dx%d", size, size) << size;
    }

    void entryIconIsDrawnInEverySize()
    {
        QFETCH(const int, size);
        const QString icon = QStringLiteral(ZELVO_RESOURCES_DIR "/icons/%1x%1/%2.png")
                                 .arg(size)
                                 .arg(QGuiApplication::desktopFileName());
        const QImage image(icon);
        QVERIFY2(!image.isNull(), qPrintable(icon));
        QCOMPARE(image.size(), QSize(size, size));
    }

    void metainfoNamesTheProgramAndItsEntry()
    {
        QCOMPARE(elementTexts(metainfoPath(), QStringLiteral("id")),
                 QStringList{QGuiApplication::desktopFileName()});
        QCOMPARE(elementTexts(metainfoPath(), QStringLiteral("launchable")),
                 QStringList{QGuiApplication::desktopFileName() + QStringLiteral(".desktop")});
        QCOMPARE(elementTexts(metainfoPath(), QStringLiteral("binary")),
                 QStringList{QStringLiteral("zelvo")});
    }

    void newestReleaseIsTheReportedVersion()
    {
        const QStringList releases =
            elementTexts(metainfoPath(), QStringLiteral("release"), QStringLiteral("version"));
        QVERIFY(!releases.isEmpty());
        QCOMPARE(releases.first(), QCoreApplication::applicationVersion());
    }

    void helpDocumentNamesTheReportedVersion()
    {
        QFile help(QStringLiteral(ZELVO_PACKAGING_DIR "/Zelvo.html"));
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(help.readAll());
        QVERIFY2(text.contains(QStringLiteral("version ") + QCoreApplication::applicationVersion()),
                 "the help document's footer names another version");
    }
};

QTEST_MAIN(TestDesktopIdentity)
#include "tst_desktopidentity.moc"
