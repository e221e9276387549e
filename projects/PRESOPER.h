#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The operator master, a program window of the main window.
class TfPRESOPER : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfPRESOPER(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfPRESOPER> instancia_;
};

extern TfPRESOPER *fPRESOPER;
