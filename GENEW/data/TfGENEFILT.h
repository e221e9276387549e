#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the filter dialog: created at start-up and reused; its own work
// comes with the dialog's issue.
class TfGENEFILT : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEFILT(QWidget *parent = nullptr);
};

extern TfGENEFILT *fGENEFILT;
