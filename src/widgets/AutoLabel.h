#pragma once

#include "layouts/Layout.h"

#include <QLabel>

namespace zelvo {

// A label that draws only its text and may follow its caption's size.
class AutoLabel : public QLabel
{
    Q_OBJECT
public:
    explicit AutoLabel(QWidget* parent = nullptr);

    void setSizing(layout::Sizing sizing);
    // Assistive technologies read a label with a name of its own as the name followed by the
    // caption.
    void setAccessibleBaseName(const QString& name);
    void setCaption(const QString& caption);
    [[nodiscard]] QString caption() const { return text(); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fit();

    layout::Sizing m_sizing = layout::Sizing::Fixed;
    QString m_baseName;
    bool m_fitPending = false;
};

// A label that runs a command when clicked, read by assistive technologies as a link: reached
// with Tab, pressed by Space and Enter and by their press action.
class LinkLabel : public AutoLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace zelvo
