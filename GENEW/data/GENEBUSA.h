#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the approximate record search, used instead of the standard one when the
// settings ask for it: created once at start-up and shown again on every call.
class TfGENEBUSA : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEBUSA(QWidget *parent = nullptr);
};

extern TfGENEBUSA *fGENEBUSA;
