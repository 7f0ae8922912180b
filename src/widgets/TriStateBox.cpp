#include "TriStateBox.h"

namespace zelvo {

int TriStateBox::value() const
{
    return checkState() == Qt::Checked ? 1 : checkState() == Qt::PartiallyChecked ? 2 : 0;
}

void TriStateBox::setValue(int value)
{
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void TriStateBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

} // namespace zelvo
