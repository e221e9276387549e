#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the filter dialog: created once at start-up and shown again on every
// call.
class TfGENEFILT : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEFILT(QWidget *parent = nullptr);
};

extern TfGENEFILT *fGENEFILT;
