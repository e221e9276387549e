#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the record search: created once at start-up and shown again on every
// call.
class TfGENEBUSQ : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEBUSQ(QWidget *parent = nullptr);
};

extern TfGENEBUSQ *fGENEBUSQ;
