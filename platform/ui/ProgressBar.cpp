#include "platform/ui/ProgressBar.h"

namespace plat {

ProgressBar::ProgressBar(QWidget *parent) : QProgressBar(parent), Control(this)
{
    setRange(0, 100);
    setValue(0);
}

} // namespace plat
