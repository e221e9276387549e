#pragma once
#include "GENEW/data/ventanas/FormularioMaestro.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"

// The text a cell of the characteristics grid shows for a field: the extended description
// always as " ...", a reaction plan on one line; others as the grid draws them (empty).
QString TextoCeldaLineaGama(const QString &campo, const QString &valor);

// "Maestro de Gamas de Control": a control range (GCNTROL) with its characteristics
// (LGCNTROL) and modification history (HGCNTROL), each entered row after row in a grid.
class TfCALIGAMA : public FormularioMaestro
{
    Q_OBJECT
public:
    explicit TfCALIGAMA(QWidget *parent = nullptr);
    ~TfCALIGAMA() override;

    plat::TableComponent *Table2, *Table3;
    plat::DataSource *DataSource2, *DataSource3;
    plat::Panel *PanelSuperior;
    plat::Label *LabelCodigo, *LabelDescripcion, *LabelNivelModificacion, *LabelModalidad;
    plat::DBEdit *EditCodigo, *EditDescripcion, *EditNivelModificacion;
    plat::SpeedButton *pbDocumentacionElectronica, *pbDuplicar, *pbImprimir;
    plat::PageControl *PageControl1, *PageControl2;
    plat::TabSheet *PagGeneral, *PagObservaciones, *PagGenerales, *PagHistorico;
    plat::DBCheckBox *PiezasContables;
    plat::DBComboBox *Modalidad;
    plat::DBMemo *DBMemo1;
    plat::DBGrid *DBGrid1, *DBGrid2;

public slots:
    void FormCreate(QObject *Sender) override;
    void AgregarClick(QObject *Sender) override;
    void GrabarDatos(QObject *Sender) override;
    void pbConformeClick(QObject *Sender) override;
    void pbCancelarClick(QObject *Sender);
    void pbRefrescarClick(QObject *Sender) override;
    void Eliminar1Click(QObject *Sender);
    void CampoClaveExit(QObject *Sender);
    void BuscarDatosDBEdit(QObject *Sender) override;
    void DataSource1StateChange(QObject *Sender) override;
    void DataSourceDetalleStateChange(QObject *Sender);
    void Table1BeforeInsert(plat::DataSet &DataSet) override;
    void Table1NewRecord(plat::DataSet &DataSet) override;
    void Table1AfterScroll(plat::DataSet &DataSet);
    void Table2BeforeInsert(plat::DataSet &DataSet);
    void Table2NewRecord(plat::DataSet &DataSet);
    void Table3BeforeInsert(plat::DataSet &DataSet);
    void Table3NewRecord(plat::DataSet &DataSet);
    void TableBeforePost(plat::DataSet &DataSet);
    void TableAfterPost(plat::DataSet &DataSet);
    void DBGridEnter(QObject *Sender);
    void DBGridKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void DBGridColExit(QObject *Sender);
    void DBGrid1DblClick(QObject *Sender) override;
    void DBGrid1EditButtonClick(QObject *Sender);
    void DBGrid1DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);
    void PageControl2Change(QObject *Sender);
    void pbDuplicarClick(QObject *Sender);
    void pbImprimirClick(QObject *Sender);
    void pbDocumentacionElectronicaClick(QObject *Sender);
    void CopiarRegistrosaOtrasEmpresas1Click(QObject *Sender);

private:
    void construirCabecera(QWidget *area);
    void construirPaginasCabecera(QWidget *area);
    void construirRejillas(QWidget *area);
    plat::DBGrid *construirRejilla(const QString &nombre, plat::TabSheet *pagina, plat::DataSource *origen);
    void conectarEventos();
    void ajustarAltura();

    plat::DataSet &cabecera() const { return Table1->dataSet(); }
    plat::DataSet &lineas() const { return Table2->dataSet(); }
    plat::DataSet &historico() const { return Table3->dataSet(); }
    plat::DataSet &tablaDeRejilla(QObject *rejilla) const;
    bool algunaEditando() const;
    // Posts the table's edit or insert; a failure cancels it and says so. False when it
    // failed or a validation refused.
    bool grabarTabla(plat::DataSet &tabla);
    void seleccionarPrimeraColumna();
    void copiarDuplicacion(plat::TableComponent *tabla);
    void editarMemoLinea(const QString &campo, const QString &descripcion);
    void editarEspecificacion();
    void volverAlCodigo();
    // The range, its lines and its history deleted (a failure has been told); false when
    // any step failed.
    bool borrarGamaConDetalles();

    // Whether the last line or history row saved was a new one.
    bool filaGrabadaNueva() const { return estadoFilaAntesDeGrabar_ == plat::DataSetState::Insert; }

    // The state of the line or history row last saved, before its post.
    plat::DataSetState estadoFilaAntesDeGrabar_ = plat::DataSetState::Browse;
    InstanciaGlobal<TfCALIGAMA> instancia_;
};

extern TfCALIGAMA *fCALIGAMA;
