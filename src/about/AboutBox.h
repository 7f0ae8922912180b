#pragma once

#include <QDialog>

namespace zelvo {

class PictureBox;

// The about box: artwork, version and notice, modal over the main window; any click on it hides
// it.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget& owner);

    PictureBox* picture;

    // Esc leaves the box open: a click is what closes it.
    void reject() override {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace zelvo
