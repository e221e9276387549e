#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the programmable listing: created at start-up and reused; its own work
// comes with the dialog's issue.
class TfGENECPRO : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECPRO(QWidget *parent = nullptr);
};

extern TfGENECPRO *fGENECPRO;
