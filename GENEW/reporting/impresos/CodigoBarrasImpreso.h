#pragma once
#include "GENEW/reporting/impresos/OrdenesDibujo.h"

class TPrintBarcode;

// The engine's barcode component as the `CBar` command's painter: placed at the picture's
// corner with the picture's size, measuring at the picture's resolution.
class PintorPrintBarcode : public PintorCodigoBarras
{
public:
    explicit PintorPrintBarcode(TPrintBarcode &componente) : componente_(componente) {}
    void pintar(QImage &imagen, const Peticion &peticion) override;

private:
    TPrintBarcode &componente_;
};
