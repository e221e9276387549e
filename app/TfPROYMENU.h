#pragma once
#include "platform/ui/Form.h"

// The program's main window: an MDI frame that holds every program window. Its menus,
// log-in and company opening come with the main-window issue.
class TfPROYMENU : public plat::Form
{
    Q_OBJECT
public:
    explicit TfPROYMENU(QWidget *parent = nullptr);
};

extern TfPROYMENU *fPROYMENU;
