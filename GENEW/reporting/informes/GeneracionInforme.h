#pragma once
#include "GENEW/reporting/informes/BandasInforme.h"
#include "GENEW/reporting/informes/PaginasInforme.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSetNotifier.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QVariantList>
#include <functional>

class Informe;

// Lays bands out on pages: page header and footer, breaks when a band does not fit, new page
// before a band that asks for it, group headers reprinted on a new page when they ask.
class MaquetadorInforme
{
public:
    using AlCerrarPagina = std::function<void(PaginaCompartida)>;
    MaquetadorInforme(Informe &informe, ContextoImpresion &contexto, AlCerrarPagina alCerrar);

    // Prints a body band (and its child bands) with its before-print event.
    void imprimir(BandaInforme &banda);
    // The group header reprinted on each new page while the group runs; nullptr: none.
    void ponerGrupoEnCurso(GrupoInforme *grupo) { grupoEnCurso_ = grupo; }
    // Opens the first page when no band has printed yet.
    void asegurarPagina();
    // Closes the last page (with its footer when the options ask for it).
    void terminar();

private:
    struct Medida
    {
        bool imprimir = false;
        double alto = 0;
    };
    Medida medir(BandaInforme &banda);
    void imprimir(BandaInforme &banda, TipoBanda tipo);
    void colocar(BandaInforme &banda, TipoBanda tipo, double y, double alto, double limite);
    void abrirPagina(bool reimprimirGrupo);
    void cerrarPagina(bool ultima);
    void saltarPagina(bool reimprimirGrupo);
    void imprimirHijas(BandaInforme &padre, TipoBanda tipo, bool enCabecera);

    Informe &informe_;
    ContextoImpresion &contexto_;
    AlCerrarPagina alCerrar_;
    QRectF imprimible_;
    QList<BandaInforme *> bandas_;
    BandaInforme *cabecera_ = nullptr;
    BandaInforme *pie_ = nullptr;
    GrupoInforme *grupoEnCurso_ = nullptr;
    PaginaGenerada pagina_;
    bool abierta_ = false;
    bool hayCuerpo_ = false;
    double y_ = 0;
    double limite_ = 0;
    int cerradas_ = 0;
};

// One run of a report over its dataset, resumable in slices: group headers on a change of
// their expression's values, footers before, sums over every record, detail, sub-detail,
// summary. The dataset's controls stay disabled during the run; a dataset that is closed or
// freed, or an abort of the printer object, ends it after the current page.
class GeneracionInforme
{
public:
    GeneracionInforme(Informe &informe, MaquetadorInforme::AlCerrarPagina alCerrar);
    ~GeneracionInforme();

    // Reads the expressions and starts; false when nothing is to print. Raises gp::Error
    // for an expression it cannot read.
    bool empezar();
    // Works until the deadline; true once the run has ended.
    bool avanzar(QDeadlineTimer plazo);
    int progreso() const;

private:
    struct Grupo
    {
        GrupoInforme *banda;
        QVector<plat::Field *> campos;
        QVariantList valores;
    };
    bool datosDisponibles() const;
    void procesarRegistro();
    void cerrarGrupos(int desde);
    void finalizar();
    void liberarDatos();
    // Hands the pages closed while a record printed over, once the record is done, so that
    // whoever is told may close or free the dataset without pulling it from under a band.
    void entregarPaginas();

    Informe &informe_;
    MaquetadorInforme::AlCerrarPagina entregar_;
    QVector<PaginaCompartida> cerradas_;
    MedidasTexto medidas_;
    ContextoImpresion contexto_;
    MaquetadorInforme maquetador_;
    plat::DataSet *datos_ = nullptr;
    QPointer<plat::DataSetNotifier> vigilante_;
    plat::Bookmark marca_;
    QVector<Grupo> grupos_;
    QList<ControlCalculadoInforme *> calculados_;
    QList<SubDetalleInforme *> subdetalles_;
    BandaInforme *detalle_ = nullptr;
    qint64 total_ = 0, hechos_ = 0;
    bool primero_ = true;
    bool agotado_ = false;
    bool terminada_ = false;
    bool interrumpida_ = false;
    bool controlesDesactivados_ = false;
};
