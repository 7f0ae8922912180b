#include "AboutBox.h"

#include "layouts/LayoutBuilder.h"
#include "layouts/Layouts.h"
#include "widgets/AutoLabel.h"
#include "widgets/ControlFactory.h"
#include "widgets/PictureBox.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zelvo {

static const layout::Window& Layout = layout::AboutBoxLayout;

AboutBox::AboutBox(QWidget& owner) : QDialog(&owner)
{
    layout::applyWindow(*this, Layout);
    setWindowModality(Qt::WindowModal);
    picture = controls::picture(*this, Layout, "Abtimg");
    (void)controls::label(*this, Layout, "lblVersion");
    (void)controls::label(*this, Layout, "lblDisclaimer");
    layout::applyTabOrder(*this, Layout);
    connect(picture, &PictureBox::clicked, this, &QWidget::hide);
}

void AboutBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    layout::paintDecorations(painter, Layout);
}

// Closing only hides the box, which is never recreated.
void AboutBox::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

// A click on the labels reaches the box as well.
void AboutBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        hide();
}

} // namespace zelvo
