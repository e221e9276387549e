#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the copy of records to other companies: created at start-up and reused; its own work
// comes with the dialog's issue.
class TfGENECOPI : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECOPI(QWidget *parent = nullptr);
};

extern TfGENECOPI *fGENECOPI;
