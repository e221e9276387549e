#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <QStringList>

namespace intercambio {
struct LineaEquivalencia;
}

// The operator-code swap: a table of equivalences (origin code, destination code) and the
// run that moves every reference of each origin to its destination, one pair per transaction.
class TfPRESIOPE : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfPRESIOPE(QWidget *parent = nullptr);
    ~TfPRESIOPE() override;

    plat::Memo *Memo1;
    plat::Panel *PanelBotones;
    plat::Button *pbConforme;
    plat::Button *pbSalir;
    plat::StatusBar *StatusBar1;
    plat::DBGrid *DBGrid1;
    plat::TableComponent *Temporal;
    plat::TableComponent *OPERARIO;
    plat::DataSource *DataSource1;
    plat::PopupMenu *PopupMenu1;
    plat::MenuItem *Inicializartabladeequivalencias1;
    plat::MenuItem *ImportarOperarios;
    plat::MenuItem *ImportardesdeArchivodeTexto1;
    plat::MenuItem *ExportaraArchivodeTexto1;
    plat::MenuItem *IntercambiarDatoOrigenporDatoDestino1;
    plat::MenuItem *AgregarcifraenDestino;
    plat::MenuItem *EliminarcifraenDestino;

    bool importando() const { return importando_; }
    bool ejecutando() const { return ejecutando_; }
    const QStringList &incidencias() const { return incidencias_; }

public slots:
    void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void pbConformeClick(QObject *Sender);
    void pbSalirClick(QObject *Sender);
    void Inicializartabladeequivalencias1Click(QObject *Sender);
    void ImportarOperariosClick(QObject *Sender);
    void ImportardesdeArchivodeTexto1Click(QObject *Sender);
    void ExportaraArchivodeTexto1Click(QObject *Sender);
    void IntercambiarDatoOrigenporDatoDestino1Click(QObject *Sender);
    void AgregarcifraenDestinoClick(QObject *Sender);
    void EliminarcifraenDestinoClick(QObject *Sender);
    void DBGrid1DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);
    void TemporalNewRecord(plat::DataSet &DataSet);
    void TemporalCalcFields(plat::DataSet &DataSet);
    void TemporalBeforePost(plat::DataSet &DataSet);

private:
    bool ComprobarOrigenDestino();
    bool IntercambiarCodigosOperario();
    void MostrarEstado(const QString &texto);
    // Appends the rows, as imports do: no pair check, one transaction, the cursor and the
    // flag restored on every exit; stops at the first row the table refuses.
    void AnadirFilasImportadas(const QList<intercambio::LineaEquivalencia> &filas);
    void SumarCifraEnDestino(const QString &pregunta, int signo);
    QChar separadorArchivo() const;
    plat::DataSet &temporal() const { return Temporal->dataSet(); }

    void construirVentana();
    void construirMenu();
    plat::MenuItem *opcionMenu(const QString &nombre, const QString &texto);

    InstanciaGlobal<TfPRESIOPE> instancia_;
    bool importando_ = false;
    bool ejecutando_ = false;
    QStringList incidencias_;
};

extern TfPRESIOPE *fPRESIOPE;
