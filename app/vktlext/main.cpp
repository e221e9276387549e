// The auxiliary program: "vktlext <command word> <command file>". See OrdenesVktlext.h.
#include "app/vktlext/OrdenesVktlext.h"

#include <QApplication>
#include <QCoreApplication>
#include <memory>

int main(int argc, char *argv[])
{
    // Test runs have no one to close the document: this variable skips the waiting dialog.
    const bool esperar = qEnvironmentVariableIsEmpty("GP_VKTLEXT_SIN_ESPERA");
    const bool abreDocumento = argc > 1 && qstrcmp(argv[1], "AbrirDocumentoWord") == 0;
    // The waiting dialog needs a screen; the other commands run without one.
    std::unique_ptr<QCoreApplication> aplicacion;
    if (abreDocumento && esperar)
        aplicacion = std::make_unique<QApplication>(argc, argv);
    else
        aplicacion = std::make_unique<QCoreApplication>(argc, argv);
    const QStringList argumentos = QCoreApplication::arguments();
    const QString palabra = argumentos.value(1);
    const QString archivo = argumentos.value(2);
    return EjecutarOrdenVktlext(palabra, archivo, OpcionesVktlext{esperar});
}
