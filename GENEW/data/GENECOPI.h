#pragma once
#include "platform/ui/Form.h"

// The long-lived form of the copy of records to other companies: created once at start-up and
// shown again on every call.
class TfGENECOPI : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECOPI(QWidget *parent = nullptr);
};

extern TfGENECOPI *fGENECOPI;
