#pragma once
#include "GENEW/data/VentanaPrograma.h"

// The project query, a program window of the main window.
class TfPROYCPRO : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfPROYCPRO(QWidget *parent = nullptr);

private:
    InstanciaGlobal<TfPROYCPRO> instancia_;
};

extern TfPROYCPRO *fPROYCPRO;
