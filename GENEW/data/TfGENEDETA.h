#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the detail viewer: created at start-up and reused; its own work
// comes with the dialog's issue.
class TfGENEDETA : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEDETA(QWidget *parent = nullptr);
};

extern TfGENEDETA *fGENEDETA;
