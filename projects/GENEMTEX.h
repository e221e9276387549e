#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The texts master, a program window of the main window.
class TfGENEMTEX : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENEMTEX(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfGENEMTEX> instancia_;
};

extern TfGENEMTEX *fGENEMTEX;
