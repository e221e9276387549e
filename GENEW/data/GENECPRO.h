#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the programmable listing: created once at start-up and shown again on
// every call.
class TfGENECPRO : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECPRO(QWidget *parent = nullptr);
};

extern TfGENECPRO *fGENECPRO;
