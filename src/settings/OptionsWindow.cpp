#include "OptionsWindow.h"

#include "SettingsStore.h"
#include "core/TypeRule.h"
#include "desktop/Platform.h"
#include "layouts/Author.h"
#include "layouts/LayoutBuilder.h"
#include "layouts/Layouts.h"
#include "widgets/AutoLabel.h"
#include "widgets/ControlFactory.h"
#include "widgets/ImagePushButton.h"
#include "widgets/TriStateBox.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QPainter>
#include <QRadioButton>

namespace zelvo {

static const layout::Window& Layout = layout::OptionsWindowLayout;

OptionsWindow::OptionsWindow(SettingsStore& store, Platform& platform)
    : m_store(store), m_platform(platform)
{
    layout::applyWindow(*this, Layout);
    using namespace controls;
    (void)label(*this, Layout, "Label1");
    auto* sizes = new QButtonGroup(this);
    for (std::size_t i = 0; i < TileSizes.size(); ++i) {
        sizeButtons[i] = optionButton(*this, Layout, TileSizes[i].optionName);
        sizes->addButton(sizeButtons[i]);
    }
    (void)label(*this, Layout, "Label3");
    for (std::size_t i = 0; i < PictureTypes.size(); ++i)
        typeBoxes[i] = checkBox(*this, Layout, PictureTypes[i].boxName);
    applyButton = imageButton(*this, Layout, "SoftBttn1");
    mailIcon = graphic(*this, Layout, "Image1");
    mailLink = link(*this, Layout, "Label2");
    layout::applyTabOrder(*this, Layout);

    m_leave = new QAction(this);
    m_leave->setShortcut(QKeySequence::Cancel);
    m_leave->setEnabled(false);
    addAction(m_leave);
    connect(m_leave, &QAction::triggered, this, &QWidget::close);
    connect(applyButton, &ImagePushButton::clicked, this, &OptionsWindow::apply);
    connect(mailLink, &LinkLabel::clicked, this, &OptionsWindow::mailAuthor);
}

void OptionsWindow::load()
{
    m_leave->setEnabled(false);
    m_store.reload();
    const auto sizes = m_store.readEach(TileSizes);
    const auto types = m_store.readEach(PictureTypes);

    // A store without type keys shows the first box grayed and the others unchecked.
    if (noTypeRecognised(types)) {
        for (TriStateBox* box : typeBoxes)
            box->setValue(box == typeBoxes.front() ? 2 : 0);
    }
    const bool noFlag = noSizeFlag(sizes);
    for (std::size_t i = 0; i < TileSizes.size(); ++i) {
        if (sizes[i] == QLatin1String(settings::On) ||
            (noFlag && &TileSizes[i] == &defaultTileSize()))
            sizeButtons[i]->setChecked(true);
    }
    for (std::size_t i = 0; i < PictureTypes.size(); ++i) {
        if (const std::optional<int> value = boxValueFor(PictureTypes[i], types[i]))
            typeBoxes[i]->setValue(*value);
        m_shownTypes[i] = typeBoxes[i]->value();
    }
    m_shownSize = chosenSize();
}

void OptionsWindow::open()
{
    load();
    show();
    raise();
    activateWindow();
    sizeButtons.front()->setFocus();
}

int OptionsWindow::chosenSize() const
{
    for (std::size_t i = 0; i < TileSizes.size(); ++i) {
        if (sizeButtons[i]->isChecked())
            return int(i);
    }
    return -1;
}

// Two copies of the program share the store: a choice the user left as shown is not written,
// so that what another copy stored meanwhile stays.
void OptionsWindow::apply()
{
    if (chosenSize() != m_shownSize) {
        for (std::size_t i = 0; i < TileSizes.size(); ++i) {
            const bool chosen = sizeButtons[i]->isChecked();
            m_store.write(TileSizes[i].key, QLatin1String(chosen ? settings::On : settings::Off));
        }
    }
    int sum = 0;
    for (std::size_t i = 0; i < PictureTypes.size(); ++i) {
        const int value = typeBoxes[i]->value();
        sum += value;
        const std::optional<QString> text = storedValueFor(PictureTypes[i], value);
        if (text && value != m_shownTypes[i])
            m_store.write(PictureTypes[i].key, *text);
    }
    const bool stored = m_store.commit();
    // What reached the store is what the next apply is judged against.
    if (stored) {
        m_shownSize = chosenSize();
        for (std::size_t i = 0; i < PictureTypes.size(); ++i)
            m_shownTypes[i] = typeBoxes[i]->value();
    }

    if (sum == 0) {
        m_platform.messageBox(this, QStringLiteral("At least one type must be checked."),
                              MessageStyle::Critical, QStringLiteral("Check at least one"));
        return;
    }
    // Choices that did not reach the disk are not reported as applied.
    if (!stored) {
        m_leave->setEnabled(true);
        m_platform.messageBox(this, QStringLiteral("Your choices could not be saved."),
                              MessageStyle::Critical, QStringLiteral("Zelvo"));
        return;
    }
    hide();
    emit applied();
}

void OptionsWindow::mailAuthor()
{
    (void)m_platform.openUrl(
        QUrl(QLatin1String("mailto:") + QLatin1String(author::ContactAddress)));
}

// The window is left through Apply or a click on the tray icon; once its choices could not be
// stored, also by Esc or the desktop's close, since without a tray icon nothing else leaves it.
void OptionsWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_leave->isEnabled())
        emit abandoned();
}

void OptionsWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    layout::paintDecorations(painter, Layout);
}

} // namespace zelvo
