#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The custom-report designer, a program window of the main window.
class TfGENECINF : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENECINF(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfGENECINF> instancia_;
};

extern TfGENECINF *fGENECINF;
