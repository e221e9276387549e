#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The project master, a program window of the main window.
class TfPROYPROY : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfPROYPROY(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfPROYPROY> instancia_;
};

extern TfPROYPROY *fPROYPROY;
