// The options window: what it shows after reading the store, what its apply stores and hands
// to the main window, when the choices take effect, and the mail link.

#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "settings/OptionsWindow.h"
#include "settings/SettingsStore.h"
#include "support/DataTable.h"
#include "support/IsolatedSettings.h"
#include "support/MainWindowDriver.h"
#include "support/TestPlatform.h"
#include "tile/TileWindow.h"
#include "widgets/AutoLabel.h"
#include "widgets/FileListBox.h"
#include "widgets/ImagePushButton.h"
#include "widgets/PictureBox.h"
#include "widgets/TriStateBox.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

using namespace zelvo;
using Message = test::TestPlatform::Message;

namespace {

// A stored value, or a null QString for a key that is not in the store.
using Stored = std::array<QString, 4>;
const char* const TypeNames[] = {"Bitmap", "Jpg", "Gif", "Ico", "Png", "Webp", "Tiff", "Svg"};
const char* const SizeNames[] = {"Small", "Mid", "Big"};

// One run of the program on its own store.
struct Session : test::Session
{
    Session() { startShown(); }

    OptionsWindow& options() { return windows.get<OptionsWindow>(); }

    // Writes as a hand edit or another copy of the program would; a null value removes the key.
    void putRaw(const char* section, const char* key, const QString& value) const
    {
        if (value.isNull()) {
            QSettings raw(iso.fileName(), QSettings::IniFormat);
            raw.remove(QLatin1String(section) + QLatin1Char('/') + QLatin1String(key));
        } else {
            iso.put(section, key, value);
        }
    }
    void clearRaw() const
    {
        QSettings raw(iso.fileName(), QSettings::IniFormat);
        raw.clear();
    }
    [[nodiscard]] QString stored(const char* section, const char* key) const
    {
        const QVariant value = iso.get(section, key);
        return value.isValid() ? value.toString() : QString();
    }
    // The options window as it is when created afresh, reading the store again.
    OptionsWindow& reloadOptions()
    {
        windows.unload<OptionsWindow>();
        return windows.get<OptionsWindow>();
    }
    // The options button of the main window.
    OptionsWindow& openOptions()
    {
        main().showOptions();
        return options();
    }
};

[[nodiscard]] int selectedSize(const OptionsWindow& options)
{
    const std::array<const QRadioButton*, 3> buttons{options.sizeButtons[0], options.sizeButtons[1],
                                                     options.sizeButtons[2]};
    int selected = 0;
    for (int i = 0; i < 3; ++i) {
        if (buttons[std::size_t(i)]->isChecked()) {
            if (selected != 0)
                return -1; // more than one selected
            selected = i + 1;
        }
    }
    return selected;
}

[[nodiscard]] QList<int> boxValues(const OptionsWindow& options)
{
    return {options.typeBoxes[0]->value(), options.typeBoxes[1]->value(),
            options.typeBoxes[2]->value(), options.typeBoxes[3]->value()};
}

void setChoices(OptionsWindow& options, int size, const QList<int>& boxes)
{
    const std::array<QRadioButton*, 3> buttons{options.sizeButtons[0], options.sizeButtons[1],
                                               options.sizeButtons[2]};
    buttons[std::size_t(size - 1)]->setChecked(true);
    for (qsizetype i = 0; i < boxes.size(); ++i)
        options.typeBoxes[std::size_t(i)]->setValue(boxes[i]);
}

[[nodiscard]] QStringList listed(const FileListBox& list)
{
    QStringList names;
    const QAbstractItemModel* model = list.model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void loadsInitialValues();
    void loadRules_data();
    void loadRules();

    void applyStoresChoices_data();
    void applyStoresChoices();
    void applyWithAllTypesUncheckedIsRefused();
    void eachShowingShowsTheStoreAndApplyWritesOnlyChanges();
    void newSizeTakesEffectAtNextTileWindow();
    void mainListFollowsAppliedTypes();
    void applyThatCannotBeStoredKeepsWindowOpen();

    void mailLink_data();
    void mailLink();
};

void TestOptions::loadsInitialValues()
{
    Session s;
    QCOMPARE(selectedSize(s.options()), 2);
    QCOMPARE(boxValues(s.options()), (QList<int>{1, 1, 1, 0}));
    QVERIFY(s.options().typeBoxes[4]->value() == 1 && s.options().typeBoxes[5]->value() == 1);
    QVERIFY(!s.options().isVisible());
}

void TestOptions::loadRules_data()
{
    // The stored sizes (Small, Mid, Big) and types (Bitmap, Jpg, Gif, Ico), null for absent.
    test::addColumns<QStringList, QStringList, int, QList<int>>("sizes", "types", "size", "boxes");

    const QString absent;
    const QString on = QStringLiteral("1");
    const QString off = QStringLiteral("0");
    const QString disabled = QStringLiteral("&;");
    const QStringList noSizes{absent, absent, absent};
    const QStringList noTypes{absent, absent, absent, absent};
    const QStringList seeded{QStringLiteral("*.bmp;"), QStringLiteral("*.jpeg;*.jpg;"),
                             QStringLiteral("*.gif;"), disabled};

    QTest::newRow("no keys at all") << noSizes << noTypes << 2 << QList<int>{2, 0, 0, 0};
    QTest::newRow("small and big both chosen: the last wins")
        << QStringList{on, absent, on} << seeded << 3 << QList<int>{1, 1, 1, 0};
    QTest::newRow("mid and big both chosen")
        << QStringList{off, on, on} << seeded << 3 << QList<int>{1, 1, 1, 0};
    QTest::newRow("small chosen") << QStringList{on, off, off} << seeded << 1
                                  << QList<int>{1, 1, 1, 0};
    QTest::newRow("small and mid chosen")
        << QStringList{on, on, off} << seeded << 2 << QList<int>{1, 1, 1, 0};
    QTest::newRow("none chosen: layout's Medium remains")
        << QStringList{off, absent, off} << seeded << 2 << QList<int>{1, 1, 1, 0};
    QTest::newRow("unrecognised flags count as none stored")
        << QStringList{QStringLiteral("yes"), QStringLiteral(" 1"), QStringLiteral("true")}
        << seeded << 2 << QList<int>{1, 1, 1, 0};
    QTest::newRow("all types enabled")
        << noSizes
        << QStringList{QStringLiteral("*.bmp;"), QStringLiteral("*.jpeg;*.jpg;"),
                       QStringLiteral("*.gif;"), QStringLiteral("*.ico;")}
        << 2 << QList<int>{1, 1, 1, 1};
    QTest::newRow("all types disabled")
        << noSizes << QStringList{disabled, disabled, disabled, disabled} << 2
        << QList<int>{0, 0, 0, 0};
    QTest::newRow("bitmap in other letter case alone")
        << noSizes << QStringList{QStringLiteral("*.BMP;"), absent, absent, absent} << 2
        << QList<int>{2, 0, 0, 0};
    QTest::newRow("bitmap in other letter case, jpeg enabled: bitmap stays grayed")
        << noSizes
        << QStringList{QStringLiteral("*.BMP;"), QStringLiteral("*.jpeg;*.jpg;"), absent, absent}
        << 2 << QList<int>{2, 1, 0, 0};
    QTest::newRow("only icon, disabled")
        << noSizes << QStringList{absent, absent, absent, disabled} << 2 << QList<int>{2, 0, 0, 0};
    QTest::newRow("another type's pattern is not recognised")
        << noSizes << QStringList{QStringLiteral("*.gif;"), disabled, absent, absent} << 2
        << QList<int>{2, 0, 0, 0};
}

void TestOptions::loadRules()
{
    QFETCH(QStringList, sizes);
    QFETCH(QStringList, types);
    QFETCH(int, size);
    QFETCH(QList<int>, boxes);

    Session s;
    s.clearRaw();
    for (int i = 0; i < 3; ++i)
        s.putRaw("Size", SizeNames[i], sizes[i]);
    for (int i = 0; i < 4; ++i)
        s.putRaw("Type", TypeNames[i], types[i]);

    const OptionsWindow& options = s.reloadOptions();
    QCOMPARE(selectedSize(options), size);
    QCOMPARE(boxValues(options), boxes);
}

void TestOptions::applyStoresChoices_data()
{
    // The stored Bitmap before and the types after, null for absent.
    test::addColumns<QString, int, QList<int>, bool, QStringList, QStringList>(
        "bitmapBefore", "size", "boxes", "byMouse", "sizeFlags", "types");

    const QString absent;
    const QString disabled = QStringLiteral("&;");
    const QString bmp = QStringLiteral("*.bmp;");
    const QString jpg = QStringLiteral("*.jpeg;*.jpg;");
    const QString gif = QStringLiteral("*.gif;");
    const QString ico = QStringLiteral("*.ico;");

    QTest::newRow("small, all four types")
        << bmp << 1 << QList<int>{1, 1, 1, 1} << false << QStringList{"1", "0", "0"}
        << QStringList{bmp, jpg, gif, ico};
    QTest::newRow("large, bitmap and icon, by a click on the button")
        << bmp << 3 << QList<int>{1, 0, 0, 1} << true << QStringList{"0", "0", "1"}
        << QStringList{bmp, disabled, disabled, ico};
    // Medium is shown: the size left as shown is not written.
    QTest::newRow("medium, only gif")
        << disabled << 2 << QList<int>{0, 0, 1, 0} << false << QStringList{absent, absent, absent}
        << QStringList{disabled, disabled, gif, disabled};
    QTest::newRow("bitmap grayed, others unchecked: absent key stays absent")
        << absent << 2 << QList<int>{2, 0, 0, 0} << false << QStringList{absent, absent, absent}
        << QStringList{absent, disabled, disabled, disabled};
    QTest::newRow("bitmap grayed keeps a hand-edited value")
        << QStringLiteral("*.BMP;") << 3 << QList<int>{2, 1, 0, 0} << true
        << QStringList{"0", "0", "1"}
        << QStringList{QStringLiteral("*.BMP;"), jpg, disabled, disabled};
}

void TestOptions::applyStoresChoices()
{
    QFETCH(QString, bitmapBefore);
    QFETCH(int, size);
    QFETCH(QList<int>, boxes);
    QFETCH(bool, byMouse);
    QFETCH(QStringList, sizeFlags);
    QFETCH(QStringList, types);

    Session s;
    s.putRaw("Type", "Bitmap", bitmapBefore);
    OptionsWindow& options = s.openOptions();
    QVERIFY(options.isVisible());
    QVERIFY(!s.main().isVisible());
    setChoices(options, size, boxes);

    if (byMouse)
        QTest::mouseClick(options.applyButton, Qt::LeftButton);
    else
        options.apply();

    QVERIFY(s.platform.messages.isEmpty());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(s.stored("Size", SizeNames[i]), sizeFlags[i]);
    QString pattern;
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(s.stored("Type", TypeNames[i]), types[i]);
        QCOMPARE(s.iso.get("Type", TypeNames[i]).isValid(), !types[i].isNull());
        pattern += types[i];
    }
    QVERIFY(!options.isVisible());
    QVERIFY(s.main().isVisible());
    QCOMPARE(ui(s.main()).fileList->pattern(),
             pattern + QStringLiteral("*.png;*.webp;*.tif;*.tiff;*.svg;*.vuq"));
}

void TestOptions::applyWithAllTypesUncheckedIsRefused()
{
    Session s;
    OptionsWindow& options = s.openOptions();
    setChoices(options, 3, {0, 0, 0, 0, 0, 0, 0, 0});
    options.apply();

    QCOMPARE(s.platform.messages,
             (QList{Message{QStringLiteral("At least one type must be checked."), MessageStyle(16),
                            QStringLiteral("Check at least one")}}));

    // What was written before the check stays written.
    QCOMPARE(s.stored("Size", "Small"), QStringLiteral("0"));
    QCOMPARE(s.stored("Size", "Mid"), QStringLiteral("0"));
    QCOMPARE(s.stored("Size", "Big"), QStringLiteral("1"));
    const MainWindow& main = s.main();
    for (const char* type : TypeNames)
        QCOMPARE(s.stored("Type", type), QStringLiteral("&;"));

    QVERIFY(options.isVisible());
    QVERIFY(!main.isVisible());

    // The next apply is judged against what the refused one stored.
    setChoices(options, 2, {1});
    options.apply();
    QVERIFY(!options.isVisible());
    QCOMPARE(s.stored("Size", "Mid"), QStringLiteral("1"));
    QCOMPARE(s.stored("Size", "Big"), QStringLiteral("0"));
    QCOMPARE(s.stored("Type", "Bitmap"), QStringLiteral("*.bmp;"));
}

// Another copy of the program shares the store: each showing shows what is stored, with the
// focus on the first size, and Apply leaves what the user did not change to the other copy.
void TestOptions::eachShowingShowsTheStoreAndApplyWritesOnlyChanges()
{
    Session s;
    OptionsWindow& options = s.openOptions();
    setChoices(options, 1, {0, 1, 0, 1});
    options.apply();
    QVERIFY(s.main().isVisible());

    // Another copy of the program stores other choices meanwhile.
    s.putRaw("Size", "Small", QStringLiteral("0"));
    s.putRaw("Size", "Big", QStringLiteral("1"));
    s.putRaw("Type", "Bitmap", QStringLiteral("*.bmp;"));
    s.putRaw("Type", "Ico", QStringLiteral("&;"));

    OptionsWindow& reopened = s.openOptions();
    QCOMPARE(&reopened, &options);
    QVERIFY(reopened.isVisible());
    QVERIFY(!s.main().isVisible());
    QCOMPARE(selectedSize(reopened), 3);
    QCOMPARE(boxValues(reopened), (QList<int>{1, 1, 0, 0}));
    QCOMPARE(reopened.focusWidget(), reopened.sizeButtons[0]);

    s.putRaw("Type", "Gif", QStringLiteral("*.gif;"));
    reopened.sizeButtons[1]->setChecked(true);
    reopened.apply();
    QCOMPARE(s.stored("Type", "Gif"), QStringLiteral("*.gif;"));
    QCOMPARE(s.stored("Size", "Mid"), QStringLiteral("1"));
}

void TestOptions::newSizeTakesEffectAtNextTileWindow()
{
    Session s;
    const QSize medium(800, 533);
    const QSize large(1000, 700);
    const TileWindow* startUpTile = &s.windows.get<TileWindow>();
    QCOMPARE(startUpTile->outerSize(), medium);

    OptionsWindow& options = s.openOptions();
    setChoices(options, 3, {1, 1, 1, 0});
    options.apply();
    QVERIFY(s.main().isVisible());

    // The tile window created at start-up keeps the size it read then.
    QCOMPARE(&s.windows.get<TileWindow>(), startUpTile);
    QCOMPARE(s.windows.get<TileWindow>().outerSize(), medium);

    s.windows.unload<TileWindow>();
    QCOMPARE(s.windows.get<TileWindow>().outerSize(), large);
}

void TestOptions::mainListFollowsAppliedTypes()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(folder.filePath(QStringLiteral("a.bmp")), "BMP"));
    for (const char* name : {"b.jpg", "c.gif", "d.ico"}) {
        QFile file(folder.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    Session s;
    MainWindow& main = s.main();
    s.platform.folderAnswers.push_back(folder.path());
    main.browseForFolder();
    QCOMPARE(listed(*ui(main).fileList), (QStringList{"a.bmp", "b.jpg", "c.gif"}));
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("3"));

    ui(main).fileList->setFileName(QStringLiteral("a.bmp"));
    main.fileClicked();
    QTRY_VERIFY(!ui(main).preview->picture().isNull());
    QVERIFY(!ui(main).fileLabel->caption().isEmpty());

    OptionsWindow& options = s.openOptions();
    options.typeBoxes[2]->setValue(0);
    options.apply();
    QVERIFY(main.isVisible());
    QCOMPARE(listed(*ui(main).fileList), (QStringList{"a.bmp", "b.jpg"}));
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("2"));
    QCOMPARE(ui(main).fileLabel->caption(), QString());
    QVERIFY(ui(main).preview->picture().isNull());

    s.openOptions();
    options.typeBoxes[0]->setValue(0);
    options.typeBoxes[3]->setValue(1);
    options.apply();
    QCOMPARE(listed(*ui(main).fileList), (QStringList{"b.jpg", "d.ico"}));
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("2"));
}

void TestOptions::applyThatCannotBeStoredKeepsWindowOpen()
{
    Session s;
    // A folder where the store's file belongs: the file cannot be written, whoever runs this.
    QVERIFY(QFile::remove(s.iso.fileName()));
    QVERIFY(QDir().mkpath(s.iso.fileName()));

    OptionsWindow& options = s.openOptions();
    setChoices(options, 1, {1, 0, 0, 0});
    options.apply();

    QCOMPARE(s.platform.messages, (QList{Message{QStringLiteral("Your choices could not be saved."),
                                                 MessageStyle(16), QStringLiteral("Zelvo")}}));
    QVERIFY(options.isVisible());
    QVERIFY(!s.main().isVisible());
}

void TestOptions::mailLink_data()
{
    test::addRows<bool>("handedOn", {{"mail program present", true}, {"no mail program", false}});
}

void TestOptions::mailLink()
{
    QFETCH(bool, handedOn);
    Session s;
    s.platform.openSucceeds = handedOn;
    OptionsWindow& options = s.openOptions();
    setChoices(options, 3, {0, 1, 2, 1});

    QTest::mouseClick(options.mailLink, Qt::LeftButton);

    // The address the link shows is the one mailed to.
    QCOMPARE(options.mailLink->text(), QStringLiteral("zelvo@zelvo.org"));
    QCOMPARE(s.platform.opened, QList<QUrl>{QUrl(QStringLiteral("mailto:zelvo@zelvo.org"))});
    QVERIFY(s.platform.messages.isEmpty());
    QVERIFY(options.isVisible());
    QVERIFY(!s.main().isVisible());
    QCOMPARE(selectedSize(options), 3);
    QCOMPARE(boxValues(options), (QList<int>{0, 1, 2, 1}));
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
