#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "GENEW/reporting/consultas/PanelVariables.h"

#include <QList>
#include <memory>

namespace plat {
class CheckBox;
class ClientDataSetComponent;
class DataSetProvider;
class Edit;
class Label;
class Panel;
class QueryComponent;
class SpeedButton;
class StatusBar;
} // namespace plat

// The custom-report runner: the report named by NombreInforme (set by the caller before it
// creates the window) asks its restrictions in a panel of boxes, runs its stored SQL on the
// company database and hands the rows to the run-time listing with the report's layout.
class TfGENEUINF : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENEUINF(QWidget *parent = nullptr);
    ~TfGENEUINF() override;

    // The stored report name a menu caption stands for (itself without a translation language).
    QString NombreOriginalInforme(const QString &nombre) const;
    void CrearPanelRestricciones();
    // Every variable's box checked by its kind (each failure shows its own message); true
    // when all pass.
    bool ValidarValoresRestricciones(const QStringList &variables);
    // Runs the report's statement into ClientDataSet1: empty when it ran, else the reason
    // ("Error: Validación Incorrecta" when a value was refused).
    QString EjecutarConsultaInforme();

    QString Informe;          // the report this window runs: its stored name
    QString SentenciaSQL;     // its SQL text
    QString Instrucciones;    // its Name=Value lines
    // One label and one box per variable, in the order the variables are listed.
    QList<plat::Label *> EtiquetasVariables;
    QList<plat::Edit *> ValoresVariables;

    plat::Panel *PanelParametros;
    plat::Label *LBPanelParametros;
    plat::Panel *PanelParametrosInterno;
    plat::Panel *PanelOtrasOpciones;
    plat::CheckBox *ListarSoloTotales;
    plat::Panel *PanelVisualizacionPrevia;
    plat::CheckBox *VisualizacionPrevia;
    plat::Panel *PanelControl;
    plat::SpeedButton *pbListar;
    plat::SpeedButton *pbSalir;
    plat::StatusBar *StatusBar1;
    plat::QueryComponent *QryConsultasSQL;
    std::unique_ptr<plat::DataSetProvider> DataSetProvider1;
    plat::ClientDataSetComponent *ClientDataSet1;

public slots:
    void FormCreate(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormResize(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void BuscarDatosDBEdit(QObject *Sender);
    void pbSalirClick(QObject *Sender);
    void pbListarClick(QObject *Sender);

private:
    void construirPaneles();
    void centrarPanelInterno();
    void liberarCasillas();
    // Each repeated name's box takes its base name's text.
    void copiarRepetidas();

    InstanciaGlobal<TfGENEUINF> instancia_;
    DisenoPanelVariables diseno_;
};

extern TfGENEUINF *fGENEUINF;

// The report the next runner created runs: the caller sets it before creating the window;
// the window puts the stored name in it.
extern QString NombreInforme;
