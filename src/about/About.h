#pragma once

#include <QWidget>

namespace zelvo {

class AutoLabel;
class PictureBox;
class MainWindow;

// The about box: artwork, version and notice; any click on it hides it.
class About : public QWidget
{
    Q_OBJECT
public:
    explicit About(MainWindow& main);

    PictureBox* Abtimg;
    AutoLabel* lblVersion;
    AutoLabel* lblDisclaimer;

    void Form_Load() {}
    void Form_Click();
    void Abtimg_Click();
    void lblVersion_Click();
    void lblDisclaimer_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace zelvo
