#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The SQL console, a program window of the main window.
class TfGENECSQL : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENECSQL(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfGENECSQL> instancia_;
};

extern TfGENECSQL *fGENECSQL;
