#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the memo viewer: created at start-up and reused; its own work
// comes with the dialog's issue.
class TfGENEVMEM : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEVMEM(QWidget *parent = nullptr);
};

extern TfGENEVMEM *fGENEVMEM;
