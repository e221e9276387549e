#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the detail viewer: created once at start-up and shown again on every
// call.
class TfGENEDETA : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEDETA(QWidget *parent = nullptr);
};

extern TfGENEDETA *fGENEDETA;
