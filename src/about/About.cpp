#include "About.h"

#include "core/MainWindow.h"
#include "layouts/LayoutBuilder.h"
#include "layouts/Layouts.h"
#include "widgets/AutoLabel.h"
#include "widgets/ControlFactory.h"
#include "widgets/PictureBox.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zelvo {

namespace {

const layout::Window& Layout = layout::About;

} // namespace

About::About(MainWindow& main) : QWidget(&main.widget())
{
    layout::applyWindow(*this, Layout);
    Abtimg = controls::picture(*this, Layout, "Abtimg");
    lblVersion = controls::label(*this, Layout, "lblVersion");
    lblDisclaimer = controls::label(*this, Layout, "lblDisclaimer");
    layout::applyTabOrder(*this, Layout);
    connect(Abtimg, &PictureBox::clicked, this, &About::Abtimg_Click);
    connect(Abtimg, &PictureBox::activated, this, &About::Abtimg_Click);
    connect(lblVersion, &AutoLabel::clicked, this, &About::lblVersion_Click);
    connect(lblDisclaimer, &AutoLabel::clicked, this, &About::lblDisclaimer_Click);
}

void About::Form_Click()
{
    hide();
}

void About::Abtimg_Click()
{
    hide();
}

void About::lblVersion_Click()
{
    hide();
}

void About::lblDisclaimer_Click()
{
    hide();
}

void About::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    layout::paintDecorations(painter, Layout);
}

// Closing only hides the box, which is never recreated.
void About::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

void About::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Form_Click();
}

} // namespace zelvo
