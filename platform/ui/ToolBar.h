#pragma once
#include "platform/ui/Control.h"

#include <QFrame>

class QGroupBox;
class QHBoxLayout;

namespace plat {

// A tool bar along the top of its form: a row of controls gathered in titled groups.
class ToolBar : public QFrame, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
public:
    explicit ToolBar(QWidget *parent = nullptr);

    // Starts a group with that title; the controls added next go into it.
    QGroupBox *addGroup(const QString &caption);
    // Adds a control to the current group (to the bar itself before any group).
    void addControl(QWidget *control);
    // Ends the current group; what is added next goes after the free space, at the right end.
    void addSpace();

private:
    QHBoxLayout *row_;
    QHBoxLayout *group_ = nullptr;
};

} // namespace plat
