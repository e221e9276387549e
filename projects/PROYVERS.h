#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The version-change notices, a program window of the main window.
class TfPROYVERS : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfPROYVERS(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfPROYVERS> instancia_;
};

extern TfPROYVERS *fPROYVERS;
