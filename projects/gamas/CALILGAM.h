#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "platform/base/Gancho.h"
#include "platform/ui/Event.h"
#include "projects/gamas/LecturasGamas.h"

#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

namespace plat {
class Button;
class CheckBox;
class DataSource;
class DBLookupComboBox;
class Edit;
class Memo;
class StatusBar;
class TableComponent;
class TableDataSet;
} // namespace plat

// The request tables of the control ranges listing.
extern const QString DefinicionDocumentosGama;
extern const QString DefinicionLineasGama;

// The responsibility data of a record (who made it and when, who approved it and when).
struct DatosResponsabilidad
{
    QVariant realizadoPor;
    QVariant fechaRealizacion;
    QVariant aprobadoPor;
    QVariant fechaAprobacion;
    QString nombreRealizadoPor;
    QString nombreAprobadoPor;
};
using LeerResponsabilidadFn =
    std::function<std::optional<DatosResponsabilidad>(const QString &tabla, const QString &claveTexto)>;
// Where the listing reads a record's responsibility data (table and key text "k1|k2|...").
// By default the data module's (TModuloDatos::CompletarNombresOperarios).
Gancho<LeerResponsabilidadFn> &ganchoResponsabilidadDocumental();

// What the listing prints: ranges by code, by article, or those of a list of orders.
struct SeleccionGamas
{
    QString desdeGama, hastaGama;
    QString desdeArticulo, hastaArticulo;
    bool porOrdenes = false;          // the document option is on
    QStringList ordenes;              // the order list's lines
    bool incorporarDescripcionAmpliada = true;
    bool agruparPorArticulo = true;
};

struct TablasGamas
{
    plat::TableDataSet &gama, &lineasGama, &historicoGama, &articulo, &orden;
};

void RellenarGamasControl(const TablasGamas &tablas, const SeleccionGamas &seleccion,
                          plat::TableDataSet &documentos, plat::TableDataSet &lineas);

// Set by the control ranges master before it opens the listing; taken at creation.
extern QString GamaDesdeApertura;
extern QString GamaHastaApertura;
extern QString DocumentosApertura;

// "Listado de Gamas de Control": control ranges printed as documents through a layout of
// type "Gama Control", chosen by range code, by article or through open orders.
class TfCALILGAM : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfCALILGAM(QWidget *parent = nullptr);
    ~TfCALILGAM() override;

    plat::DBLookupComboBox *EditFormatoImpreso;
    plat::Edit *DesdeGama;
    plat::Edit *HastaGama;
    plat::Edit *DesdeArticulo;
    plat::Edit *HastaArticulo;
    plat::CheckBox *IncorporarDescripcionAmpliada;
    plat::CheckBox *pbAgruparPorArticulo;
    plat::CheckBox *pbImprimirGamasDocumentos;
    plat::Memo *NumerosDocumento;
    plat::CheckBox *VisualizacionPrevia;
    plat::Button *pbListar;
    plat::Button *pbSalir;
    plat::StatusBar *StatusBar1;
    plat::TableComponent *Gama;
    plat::TableComponent *LGama;
    plat::TableComponent *HGama;
    plat::TableComponent *Impreso;
    plat::DataSource *DSImpreso;
    plat::TableComponent *Articulo;
    plat::TableComponent *OOrden;

    bool ocupado() const { return ocupado_; }

public slots:
    void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormCloseQuery(QObject *Sender, bool &CanClose);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void pbListarClick(QObject *Sender);
    void pbSalirClick(QObject *Sender);
    void pbImprimirGamasDocumentosClick(QObject *Sender);
    void NumerosDocumentoDblClick(QObject *Sender);

private:
    SeleccionGamas seleccion() const;
    bool ocupado_ = false;
    InstanciaGlobal<TfCALILGAM> instancia_;
};

extern TfCALILGAM *fCALILGAM;
