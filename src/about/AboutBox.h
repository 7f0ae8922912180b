#pragma once

#include <QWidget>

namespace zelvo {

class PictureBox;

// The about box: artwork, version and notice; any click on it hides it.
class AboutBox : public QWidget
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget& owner);

    PictureBox* picture;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace zelvo
