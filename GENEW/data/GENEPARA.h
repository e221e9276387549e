#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The general parameters, a program window of the main window.
class TfGENEPARA : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENEPARA(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfGENEPARA> instancia_;
};

extern TfGENEPARA *fGENEPARA;
