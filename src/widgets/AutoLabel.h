#pragma once

#include "Pressable.h"
#include "layouts/Layout.h"

#include <QLabel>

namespace zelvo {

// A label that draws only its text and may follow its caption's size. One that runs a command
// is reached with Tab and pressed by Space and Enter. Its caption follows its accessible name.
class AutoLabel : public QLabel, public Pressable
{
    Q_OBJECT
public:
    explicit AutoLabel(QWidget* parent = nullptr);

    void setSizing(layout::Sizing sizing);
    void setCaption(const QString& caption);
    [[nodiscard]] QString caption() const { return text(); }

    void press() override { emit activated(); }
    [[nodiscard]] QString subject() const override { return text(); }

signals:
    void clicked();
    // Pressed by the keyboard or an assistive technology.
    void activated();

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
