#pragma once
#include "app/vktlext/ArchivoOrdenes.h"

#include <QString>
#include <QStringList>

// The commands of the auxiliary program, each read from its command file (.INI) and carried out
// with the desktop's tools: xdg-email, xdg-open, LibreOffice and lp.

// Exit codes: 0 done; never 1, which callers take as "sent"; 2 or more a failure.
enum CodigoSalidaVktlext {
    SalidaCorrecta = 0,
    SalidaOrdenDesconocida = 2,
    SalidaArchivoOrdenes = 3,       // the .INI cannot be read
    SalidaProgramaExterno = 4,      // the desktop's tool is missing or failed
    SalidaFusion = 5,               // the Word merge failed
    SalidaDocumento = 6,            // the document named does not exist
};

struct OpcionesVktlext
{
    bool esperarDocumento = true;   // the dialog that waits until the user closes the document
};

// Carries out the command word with the command file; a failure is written to standard error
// and answered as its exit code.
int EjecutarOrdenVktlext(const QString &palabra, const QString &archivoOrdenes, const OpcionesVktlext &opciones);
