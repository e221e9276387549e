#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the memo viewer: created once at start-up and shown again on every call.
class TfGENEVMEM : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEVMEM(QWidget *parent = nullptr);
};

extern TfGENEVMEM *fGENEVMEM;
