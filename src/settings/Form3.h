#pragma once

#include <QString>
#include <QWidget>

class QRadioButton;

namespace zelvo {

class AutoLabel;
class ImagePushButton;
class PictureBox;
class TriStateBox;
class Windows;

// The options window: which picture types are listed and which size the tile window takes.
class Form3 : public QWidget
{
    Q_OBJECT
public:
    explicit Form3(Windows& windows);

    AutoLabel* Label1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    AutoLabel* Label3;
    TriStateBox* Check1;
    TriStateBox* Check2;
    TriStateBox* Check3;
    TriStateBox* Check4;
    ImagePushButton* SoftBttn1;
    PictureBox* Image1;
    AutoLabel* Label2;

    void Form_Load();
    void SoftBttn1_Click();
    void Label2_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Windows& m_windows;
    // The seven values read at load.
    QString m_small;
    QString m_mid;
    QString m_big;
    QString m_bitmap;
    QString m_jpg;
    QString m_gif;
    QString m_ico;
};

} // namespace zelvo
