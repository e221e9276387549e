// The runners of stored statements and custom reports inside an MDI frame, on the sample
// company's customers: their variables asked in the generated panel.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/GENEUINF.h"
#include "GENEW/reporting/GENEUSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Controls.h"

namespace {

// A row of FILTRO of that kind; false when it could not be written.
bool guardarEnFiltro(const QString &tipo, const QString &nombre, const QString &sentencia, const QString &instrucciones)
{
    plat::TableDataSet filtro;
    filtro.setTableName(QStringLiteral("FILTRO"));
    if (!ModuloDatos->AbrirTabla(filtro))
        return false;
    return ModuloDatos
        ->EjecutarSQL(QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro, Instrucciones) VALUES (%1, %2, %3, %4)")
                          .arg(Entrecomillar(tipo), Entrecomillar(nombre), Entrecomillar(sentencia), Entrecomillar(instrucciones)))
        .isEmpty();
}

plat::Form *ejecutorSQL()
{
    if (!formshot::programaIniciado()
        || !guardarEnFiltro(QStringLiteral("SQL"), QStringLiteral("Saldos de clientes"),
                            QStringLiteral("SELECT Codigo, Nombre, PersonaContacto, Saldo, FechaAlta FROM CLIENTES\r\n"
                                           "WHERE Saldo >= :#SaldoMinimo AND FechaAlta >= :&FechaAlta\r\n"
                                           "AND Nombre <> :$NombreExcluido\r\nORDER BY Codigo"),
                            QString()))
        return nullptr;
    plat::Form *marco = formshot::marcoMDI(900, 560);
    auto *ventana = plat::createForm<TfGENEUSQL>();
    ventana->CargaConsulta(QStringLiteral("Saldos de clientes"));
    ventana->findChild<plat::Edit *>(QStringLiteral("SaldoMinimo"))->setText(QStringLiteral("100"));
    ventana->findChild<plat::Edit *>(QStringLiteral("NombreExcluido"))->setText(QStringLiteral("Talleres Chacón"));
    ventana->pbAplicar->click();
    return marco;
}

plat::Form *informePersonalizado()
{
    if (!formshot::programaIniciado()
        || !guardarEnFiltro(QStringLiteral("GeneradorInformes"), QStringLiteral("Clientes por saldo"),
                            QStringLiteral("SELECT CLIENTES.Nombre, CLIENTES.Saldo FROM CLIENTES\r\n"
                                           "WHERE CLIENTES.Saldo >= :#SaldoMinimo AND CLIENTES.FechaAlta >= :&FechaAlta\r\n"
                                           "AND CLIENTES.Nombre IN ( :*NombresClientes )\r\nORDER BY CLIENTES.Nombre"),
                            QStringLiteral("Opciones=FormatoColumnar,")))
        return nullptr;
    plat::Form *marco = formshot::marcoMDI(900, 560);
    NombreInforme = QStringLiteral("Clientes por saldo");
    auto *ventana = plat::createForm<TfGENEUINF>();
    ventana->findChild<plat::Edit *>(QStringLiteral("NombresClientes"))
        ->setText(QStringLiteral("Talleres Chacón, Reformas Gárate,"));
    return marco;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("ejecutor-sql"),
                            QStringLiteral("una sentencia SQL almacenada con tres variables y sus filas"),
                            [](const QString &) { return ejecutorSQL(); }})
    && formshot::registerForm({QStringLiteral("informe-personalizado"),
                               QStringLiteral("un informe personalizado con tres restricciones"),
                               [](const QString &) { return informePersonalizado(); }});

} // namespace
