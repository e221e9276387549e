#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The control ranges, a program window of the main window.
class TfCALIGAMA : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfCALIGAMA(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfCALIGAMA> instancia_;
};

extern TfCALIGAMA *fCALIGAMA;
