#pragma once
#include "platform/ui/DataModule.h"

// The bonus data module. The main window creates it right after the project data module,
// once a company is open; like every data module it is freed when another company opens.
class TMDPrimas : public plat::DataModule
{
    Q_OBJECT
public:
    explicit TMDPrimas(QObject *parent = nullptr);
    ~TMDPrimas() override;

    void ModuloDatosCreate(QObject *Sender);
};

extern TMDPrimas *MDPrimas;

// The module's life as the main window manages it: made (and created) into MDPrimas,
// replacing an earlier one, and freed.
TMDPrimas &CrearMDPrimas();
void LiberarMDPrimas();
