#pragma once
#include "platform/base/Gancho.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace plat {
class TableComponent;
class TableDataSet;
class Field;
} // namespace plat

// A print request of a project window: the layout and the preview choice, the definition
// texts of the documents and lines request tables, how the lines follow their document,
// and the fill of both tables. Whoever runs it makes the two tables, calls the fill and
// hands the tables to the print engine.
struct PeticionImpreso
{
    bool vistaPrevia = true;
    QString codigoImpreso;
    QString definicionDocumentos;
    QString definicionLineas;
    QString indiceLineas;
    QString campoMaestroLineas;
    std::function<void(plat::TableDataSet &documentos, plat::TableDataSet &lineas)> rellenar;
};

using ImprimirPeticionFn = std::function<void(const PeticionImpreso &peticion)>;

// Runs a print request. The program installs the print engine here; the default makes the
// request tables, fills them and drops them, printing nothing.
Gancho<ImprimirPeticionFn> &ganchoImprimirPeticion();

// The two request tables of a run made on the company database from the request's texts,
// the lines following the current document; both are dropped when this goes.
class TablasPeticion
{
public:
    explicit TablasPeticion(const PeticionImpreso &peticion);
    ~TablasPeticion();
    TablasPeticion(const TablasPeticion &) = delete;
    TablasPeticion &operator=(const TablasPeticion &) = delete;

    plat::TableDataSet &documentos() const;
    plat::TableDataSet &lineas() const;

private:
    std::unique_ptr<plat::TableComponent> documentos_;
    std::unique_ptr<plat::TableComponent> lineas_;
};

// Makes a request table from its definition text (the print engine's way) into tabla.
void crearTablaPeticion(plat::TableComponent &tabla, const QString &definicion, const QString &propietario = QString());
// The lines follow the current document of documentos: their index fields, then the master.
void enlazarLineas(const PeticionImpreso &peticion, plat::TableDataSet &documentos, plat::TableDataSet &lineas);
// Runs the request's fill inside one transaction of the tables' connection, committed
// before the tables are handed on; a failure rolls it back and goes on.
void rellenarPeticion(const PeticionImpreso &peticion, plat::TableDataSet &documentos, plat::TableDataSet &lineas);

// Every field of origen with a column of the same name in the current row of destino is
// copied as text: strings cut to the column's size, an empty or null value left empty,
// numbers and dates exactly.
void copiarCamposPorNombre(const plat::TableDataSet &origen, plat::TableDataSet &destino);

// The layouts of one document type, in code order: the table on its index "Clave2" with
// that type as its range.
void abrirImpresosDelTipo(plat::TableComponent &impreso, const QString &tipoDocumento);

// A listing while it runs: the window's busy flag set and "Creando informe..." shown at
// once in its status bar; both undone however the listing ends.
class ListadoEnCurso
{
public:
    ListadoEnCurso(bool &ocupado, QObject *barraEstado);
    ~ListadoEnCurso();
    ListadoEnCurso(const ListadoEnCurso &) = delete;
    ListadoEnCurso &operator=(const ListadoEnCurso &) = delete;

private:
    bool &ocupado_;
    QObject *barraEstado_;
};

// The list button of a print-request window: nothing while a listing runs, a warning
// without a layout chosen, else generar runs with the window busy, its errors shown as
// the program shows any error of a handler.
void lanzarListado(QObject *ventana, bool &ocupado, QObject *barraEstado, const QString &codigoImpreso,
                   const std::function<void()> &generar);
