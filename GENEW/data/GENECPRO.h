#pragma once
#include "platform/ui/Form.h"

namespace plat {
class DataSet;
}

// The long-lived form of the programmable listing: created once at start-up and shown again on
// every call.
class TfGENECPRO : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECPRO(QWidget *parent = nullptr);

    // Lists the data set with the saved formats whose names begin with the prefix.
    // Options: "CamposOrdenadosOFF" keeps the data set's field order.
    virtual void AbrirListado(plat::DataSet &dataSet, const QString &prefijoFormato, const QString &titulo,
                              const QString &opciones);
};

extern TfGENECPRO *fGENECPRO;
