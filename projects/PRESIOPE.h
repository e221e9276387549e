#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The operator-code swap, a program window of the main window.
class TfPRESIOPE : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfPRESIOPE(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfPRESIOPE> instancia_;
};

extern TfPRESIOPE *fPRESIOPE;
