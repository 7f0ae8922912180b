#include "Form3.h"

#include "SettingsStore.h"
#include "core/MainWindow.h"
#include "core/TypeRule.h"
#include "desktop/Platform.h"
#include "layouts/Author.h"
#include "layouts/LayoutBuilder.h"
#include "layouts/Layouts.h"
#include "widgets/AutoLabel.h"
#include "widgets/ControlFactory.h"
#include "widgets/ImagePushButton.h"
#include "widgets/PictureBox.h"
#include "widgets/TriStateBox.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QPainter>
#include <QRadioButton>

namespace zelvo {

namespace {

const layout::Window& Layout = layout::Form3;

} // namespace

Form3::Form3(MainWindow& main, SettingsStore& store, Platform& platform)
    : m_main(main), m_store(store), m_platform(platform)
{
    layout::applyWindow(*this, Layout);
    using namespace controls;
    Label1 = label(*this, Layout, "Label1");
    auto* sizes = new QButtonGroup(this);
    for (const TileSize& size : TileSizes) {
        this->*size.option = optionButton(*this, Layout, size.optionName);
        sizes->addButton(this->*size.option);
    }
    Label3 = label(*this, Layout, "Label3");
    for (const PictureType& type : PictureTypes)
        this->*type.box = checkBox(*this, Layout, type.boxName);
    SoftBttn1 = imageButton(*this, Layout, "SoftBttn1");
    Image1 = picture(*this, Layout, "Image1");
    Label2 = label(*this, Layout, "Label2");
    layout::applyTabOrder(*this, Layout);

    connect(SoftBttn1, &ImagePushButton::clicked, this, &Form3::SoftBttn1_Click);
    connect(Label2, &AutoLabel::clicked, this, &Form3::Label2_Click);
    connect(Label2, &AutoLabel::activated, this, &Form3::Label2_Click);
}

void Form3::Form_Load()
{
    m_store.reload();
    m_sizes = m_store.readEach(TileSizes);
    m_types = m_store.readEach(PictureTypes);

    if (noSizeFlag(m_sizes))
        (this->*defaultTileSize().option)->setChecked(true);
    // A store without type keys shows the first box grayed and the others unchecked.
    if (noTypeRecognised(m_types)) {
        for (const PictureType& type : PictureTypes)
            (this->*type.box)->setValue(&type == &PictureTypes.front() ? 2 : 0);
    }
    for (std::size_t i = 0; i < TileSizes.size(); ++i) {
        if (m_sizes[i] == QLatin1String(settings::On))
            (this->*TileSizes[i].option)->setChecked(true);
    }
    for (std::size_t i = 0; i < PictureTypes.size(); ++i) {
        if (const std::optional<int> value = boxValueFor(PictureTypes[i], m_types[i]))
            (this->*PictureTypes[i].box)->setValue(*value);
    }
}

void Form3::SoftBttn1_Click()
{
    for (const TileSize& size : TileSizes) {
        const bool chosen = (this->*size.option)->isChecked();
        m_store.write(size.key, QLatin1String(chosen ? settings::On : settings::Off));
    }
    int sum = 0;
    for (const PictureType& type : PictureTypes) {
        const int value = (this->*type.box)->value();
        sum += value;
        if (const std::optional<QString> stored = storedValueFor(type, value)) {
            m_store.write(type.key, *stored);
            m_main.typeChanged(type, *stored);
        }
    }
    const bool stored = m_store.commit();

    if (sum == 0) {
        m_platform.messageBox(this, QStringLiteral("At least one type must be checked."),
                              MessageStyle::Critical, QStringLiteral("Check at least one"));
        return;
    }
    // Choices that did not reach the disk are not reported as applied.
    if (!stored) {
        m_platform.messageBox(this, QStringLiteral("Your choices could not be saved."),
                              MessageStyle::Critical, QStringLiteral("Zelvo"));
        return;
    }
    hide();
    m_main.showAgainAfterOptions();
}

void Form3::Label2_Click()
{
    (void)m_platform.openUrl(
        QUrl(QLatin1String("mailto:") + QLatin1String(author::ContactAddress)));
}

// The window is left through Apply, or a click on the tray icon, only.
void Form3::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void Form3::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    layout::paintDecorations(painter, Layout);
}

} // namespace zelvo
