#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the calculator: created once at start-up and shown again on every call.
class TfGENECALC : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECALC(QWidget *parent = nullptr);
};

extern TfGENECALC *fGENECALC;
