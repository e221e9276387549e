#pragma once
#include "GENEW/reporting/informes/ExportacionesInforme.h"
#include "GENEW/reporting/informes/Informe.h"
#include "platform/data/ClientDataSet.h"
#include "platform/ui/Form.h"

#include <QStringList>
#include <memory>
#include <ostream>

// Failure messages show texts as text.
inline void PrintTo(const QString &texto, std::ostream *salida)
{
    *salida << '"' << texto.toStdString() << '"';
}

namespace gptest {

// The rows of the test report: Grupo, Nombre, Importe (1, 2, 3... so sums are easy).
std::unique_ptr<plat::ClientDataSet> datosPrueba(int filas, int porGrupo = 10);

// A listing window built as the run-time listing lays its report out: page header 99 with
// the title, a silver group band 32 (on "Grupo", off until asked for) whose picture shows
// the group value, detail 15, group footer 17 with the group's sum, summary 32 with the
// total, page footer 45 with "Página  " and "Impreso el ".
class VentanaInforme : public plat::Form
{
    Q_OBJECT
public:
    VentanaInforme();

    Informe *informe;
    BandaInforme *cabecera;
    DatoSistemaInforme *titulo;
    GrupoInforme *grupo;
    ImagenInforme *imagenGrupo;
    BandaInforme *detalle;
    TextoDatoInforme *nombre;
    TextoDatoInforme *importe;
    BandaInforme *pieGrupo;
    ExpresionInforme *sumaGrupo;
    BandaInforme *totales;
    ExpresionInforme *sumaTotal;
    BandaInforme *pie;
    DatoSistemaInforme *numeroPagina;
    DatoSistemaInforme *fechaImpreso;

    void ponerDatos(plat::DataSet *datos);
    void activarGrupo(const QString &expresion = QStringLiteral("Grupo"));
};

// The bands of each page by name ("PageHeader", "BandaDetalle"...), in printing order.
QList<QStringList> bandasPorPagina(const ImpresoraInforme &impresora);
// The texts of the bands of that name, each band's texts joined by "|", over every page.
QStringList textosDe(const ImpresoraInforme &impresora, const QString &banda);

// What a program prints on its standard output (and, for python, its errors too): the
// poppler tools and Python's readers are independent readers of the files made.
QString ejecutar(const QString &programa, const QStringList &argumentos);
QString textoPdf(const QString &fichero);
int paginasPdf(const QString &fichero);   // -1 when pdfinfo cannot read it
QString python(const QString &script, const QString &fichero);

} // namespace gptest
