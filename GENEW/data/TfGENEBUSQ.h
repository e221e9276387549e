#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the record search: created at start-up and reused; its own work
// comes with the dialog's issue.
class TfGENEBUSQ : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEBUSQ(QWidget *parent = nullptr);
};

extern TfGENEBUSQ *fGENEBUSQ;
