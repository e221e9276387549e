#pragma once
#include "platform/ui/Form.h"

// The program's main window: the MDI frame that holds every program window.
class TfPROYMENU : public plat::Form
{
    Q_OBJECT
public:
    explicit TfPROYMENU(QWidget *parent = nullptr);
};

extern TfPROYMENU *fPROYMENU;
