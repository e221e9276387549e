#include "platform/ui/ToolBar.h"

#include <QGroupBox>
#include <QHBoxLayout>

namespace plat {

ToolBar::ToolBar(QWidget *parent) : QFrame(parent), Control(this), row_(new QHBoxLayout(this))
{
    setFrameShape(QFrame::StyledPanel);
    row_->setContentsMargins(2, 0, 2, 2);
    row_->setSpacing(2);
}

QGroupBox *ToolBar::addGroup(const QString &caption)
{
    auto *box = new QGroupBox(caption, this);
    group_ = new QHBoxLayout(box);
    group_->setContentsMargins(2, 0, 2, 0);
    group_->setSpacing(2);
    row_->addWidget(box);
    return box;
}

void ToolBar::addControl(QWidget *control)
{
    (group_ ? group_ : row_)->addWidget(control);
}

void ToolBar::addSpace()
{
    group_ = nullptr;
    row_->addStretch(1);
}

} // namespace plat
