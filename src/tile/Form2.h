#pragma once

#include "TileSize.h"

#include <QString>
#include <QWidget>

class QPushButton;

namespace zelvo {

class TileWorkbench;
class TilingImage;
class Windows;

// The tile window: the selected picture repeated over its whole area, with a Print button.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(Windows& windows);

    TilingImage* Zelvo;
    QPushButton* Butprint;
    TileWorkbench* Workbench;

    void Form_Load();
    void Form_Activate();
    void Zelvo_MouseDown();
    void Butprint_Click();

    // The window's size with its frame and title bar.
    [[nodiscard]] QSize outerSize() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyTileSize(const TileSize& size);
    void fitClientToOuterSize();
    [[nodiscard]] QMargins frameMargins() const;

    Windows& m_windows;
    // The size flags read at load.
    QString m_small;
    QString m_mid;
    QString m_big;
    QSize m_outerSize; // in pixels; empty while the layout's client size holds
};

} // namespace zelvo
