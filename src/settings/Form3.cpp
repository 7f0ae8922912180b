#include "Form3.h"

#include "SettingsStore.h"
#include "TypeRule.h"
#include "app/Form1.h"
#include "app/Platform.h"
#include "app/Windows.h"
#include "ui/Author.h"
#include "ui/AutoLabel.h"
#include "ui/ControlFactory.h"
#include "ui/FileListBox.h"
#include "ui/ImagePushButton.h"
#include "ui/LayoutBuilder.h"
#include "ui/Layouts.h"
#include "ui/PictureBox.h"
#include "ui/TriStateBox.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QPainter>
#include <QRadioButton>

#include <array>

namespace zelvo {

namespace {

const layout::Window& Layout = layout::Form3;

} // namespace

Form3::Form3(Windows& windows) : m_windows(windows)
{
    layout::applyWindow(*this, Layout);
    using namespace controls;
    Label1 = label(*this, Layout, "Label1");
    Option1 = optionButton(*this, Layout, "Option1");
    Option2 = optionButton(*this, Layout, "Option2");
    Option3 = optionButton(*this, Layout, "Option3");
    Label3 = label(*this, Layout, "Label3");
    Check1 = checkBox(*this, Layout, "Check1");
    Check2 = checkBox(*this, Layout, "Check2");
    Check3 = checkBox(*this, Layout, "Check3");
    Check4 = checkBox(*this, Layout, "Check4");
    SoftBttn1 = imageButton(*this, Layout, "SoftBttn1");
    Image1 = picture(*this, Layout, "Image1");
    Label2 = label(*this, Layout, "Label2");
    layout::applyTabOrder(*this, Layout);

    auto* sizes = new QButtonGroup(this);
    sizes->addButton(Option1);
    sizes->addButton(Option2);
    sizes->addButton(Option3);

    connect(SoftBttn1, &ImagePushButton::clicked, this, &Form3::SoftBttn1_Click);
    connect(Label2, &AutoLabel::clicked, this, &Form3::Label2_Click);
    connect(Label2, &AutoLabel::activated, this, &Form3::Label2_Click);
}

void Form3::Form_Load()
{
    SettingsStore& store = m_windows.store();
    store.reload();
    m_small = store.read(settings::size::Small);
    m_mid = store.read(settings::size::Mid);
    m_big = store.read(settings::size::Big);
    m_bitmap = store.read(settings::type::Bitmap.key);
    m_jpg = store.read(settings::type::Jpg.key);
    m_gif = store.read(settings::type::Gif.key);
    m_ico = store.read(settings::type::Ico.key);

    const auto flag = [](const QString& value) {
        return value == QLatin1String(settings::size::On) ||
               value == QLatin1String(settings::size::Off);
    };
    if (!flag(m_small) && !flag(m_mid) && !flag(m_big))
        Option2->setChecked(true);
    if (noTypeRecognised({m_bitmap, m_jpg, m_gif, m_ico})) {
        Check1->setValue(2);
        Check2->setValue(0);
        Check3->setValue(0);
        Check4->setValue(0);
    }
    if (m_small == QLatin1String(settings::size::On))
        Option1->setChecked(true);
    if (m_mid == QLatin1String(settings::size::On))
        Option2->setChecked(true);
    if (m_big == QLatin1String(settings::size::On))
        Option3->setChecked(true);

    const std::array<TriStateBox*, 4> boxes{Check1, Check2, Check3, Check4};
    const std::array<QString, 4> values{m_bitmap, m_jpg, m_gif, m_ico};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (const std::optional<int> value = boxValueFor(settings::type::Keys[i], values[i]))
            boxes[i]->setValue(*value);
    }
}

void Form3::SoftBttn1_Click()
{
    SettingsStore& store = m_windows.store();
    Form1& main = m_windows.get<Form1>();
    const auto flag = [](const QRadioButton* option) {
        return QLatin1String(option->isChecked() ? settings::size::On : settings::size::Off);
    };
    store.write(settings::size::Small, flag(Option1));
    store.write(settings::size::Mid, flag(Option2));
    store.write(settings::size::Big, flag(Option3));

    const std::array<TriStateBox*, 4> boxes{Check1, Check2, Check3, Check4};
    const std::array<QString*, 4> members{&main.RD, &main.RJ, &main.RG, &main.RI};
    int sum = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        sum += boxes[i]->value();
        if (const std::optional<QString> value =
                storedValueFor(settings::type::Keys[i], boxes[i]->value())) {
            store.write(settings::type::Keys[i].key, *value);
            *members[i] = *value;
        }
    }
    const bool stored = store.commit();

    if (sum == 0) {
        m_windows.platform().messageBox(this, QStringLiteral("At least one type must be checked."),
                                        MessageStyle::Critical,
                                        QStringLiteral("Check at least one"));
        return;
    }
    // Choices that did not reach the disk are not reported as applied.
    if (!stored) {
        m_windows.platform().messageBox(this, QStringLiteral("Your choices could not be saved."),
                                        MessageStyle::Critical, QStringLiteral("Zelvo"));
        return;
    }
    hide();
    main.showAndActivate();
    main.Files->refresh();
    main.Labelfnd->update();
    main.lblfile->setCaption(QString());
    main.Display->clearPicture();
}

void Form3::Label2_Click()
{
    (void)m_windows.platform().openUrl(
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
