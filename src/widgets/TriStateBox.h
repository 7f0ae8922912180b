#pragma once

#include <QCheckBox>

namespace zelvo {

// A check box whose value is 0 (unchecked), 1 (checked) or 2 (grayed). The program may set
// the grayed state; a user's click moves between checked and unchecked only.
class TriStateBox : public QCheckBox
{
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

    [[nodiscard]] int value() const;
    void setValue(int value);

protected:
    void nextCheckState() override;
};

} // namespace zelvo
