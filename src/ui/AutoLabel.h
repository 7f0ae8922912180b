#pragma once

#include "Layout.h"

#include <QLabel>

namespace zelvo {

// A label that draws only its text and may follow its caption's size.
class AutoLabel : public QLabel
{
    Q_OBJECT
public:
    explicit AutoLabel(QWidget* parent = nullptr);

    void setSizing(layout::Sizing sizing);
    void setCaption(const QString& caption);
    [[nodiscard]] QString caption() const { return text(); }

signals:
    void clicked();

protected:
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fit();
    // Height of the caption wrapped to the label's width; a word longer than the width is
    // broken where it must be, so the label never widens.
    [[nodiscard]] int wrappedHeight() const;

    layout::Sizing m_sizing = layout::Sizing::Fixed;
    bool m_fitPending = false;
};

} // namespace zelvo
