#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The technical notes, a program window of the main window.
class TfPROYNTEC : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfPROYNTEC(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfPROYNTEC> instancia_;
};

extern TfPROYNTEC *fPROYNTEC;
