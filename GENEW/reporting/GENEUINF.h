#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The custom-report runner: a program window named after the report it runs.
class TfGENEUINF : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENEUINF(QWidget *parent = nullptr);
    // The report this window runs (NombreInforme when it was created).
    QString Informe;

private:
    InstanciaGlobal<TfGENEUINF> instancia_;
};

extern TfGENEUINF *fGENEUINF;

// The report the next runner created runs: the caller sets it before creating the window.
extern QString NombreInforme;
