#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the calculator: created at start-up and reused; its own work
// comes with the dialog's issue.
class TfGENECALC : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECALC(QWidget *parent = nullptr);
};

extern TfGENECALC *fGENECALC;
