#pragma once
#include "platform/ui/Control.h"

#include <QProgressBar>

namespace plat {

// A bar showing Position within Min..Max.
class ProgressBar : public QProgressBar, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(int Min READ minimum WRITE setMinimum)
    Q_PROPERTY(int Max READ maximum WRITE setMaximum)
    Q_PROPERTY(int Position READ value WRITE setValue)
public:
    explicit ProgressBar(QWidget *parent = nullptr);
};

} // namespace plat
