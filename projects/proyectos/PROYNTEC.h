#pragma once
#include "GENEW/data/ventanas/FormularioMaestroRejilla.h"
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"
#include "projects/proyectos/FiltroNotasTecnicas.h"

// The technical notes (table NTECNICA): errors and suggestions, who found them, whom to
// notify, priority, situation and solution, one per grid row, shown by the option boxes
// and by values typed for a column.
class TfPROYNTEC : public FormularioMaestroRejilla
{
    Q_OBJECT
public:
    explicit TfPROYNTEC(QWidget *parent = nullptr);

    bool ValidarControl(QWidget *control) override;

    plat::Panel *PanelSuperior, *PanelOpciones, *PanelTipo, *PanelSituacion, *PanelPrioridad;
    plat::CheckBox *VerSugerencias, *VerErrores, *VerSolucionado, *VerPendiente, *VerPrioritario, *VerUrgente,
        *VerNormal, *CheckBox4;
    plat::StatusBar *StatusBar1;
    plat::PopupMenu *PopupMenu1;
    plat::MenuItem *MenuItem2, *FiltrarRegistrosporValorIgualA, *FiltrarRegistrosporValorDesde,
        *FiltrarRegistrosporValorHasta, *CancelarFiltros1;

    // The memo window's title for the current note's extended description.
    QString TituloDescripcionAmpliada() const;

    // The conditions typed by value, joined by " AND ".
    QString FiltroPorValor;

public slots:
    void FormCreate(QObject *Sender) override;
    void FormResize(QObject *Sender);
    void FiltrarNotasTecnicas();
    bool ValidarNotaTecnica();
    void pbRefrescarClick(QObject *Sender) override;
    void VerOpcionClick(QObject *Sender);
    void FiltrarRegistrosporValorClick(QObject *Sender);
    void CancelarFiltros1Click(QObject *Sender);
    void Table1NewRecord(plat::DataSet &DataSet) override;
    void Table1CalcFields(plat::DataSet &DataSet);
    void DataSource1DataChange(QObject *Sender, plat::Field *Field);
    void DBGrid1DblClick(QObject *Sender) override;
    void DBGrid1EditButtonClick(QObject *Sender);
    void DBGrid1DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);

protected:
    void trasGrabar() override;

private:
    void construirColumnas();
    void construirOpciones();
    void construirMenu();
    filtroNotas::Opciones opciones() const;
    QString numeroNota() const;

    InstanciaGlobal<TfPROYNTEC> instancia_;
};

extern TfPROYNTEC *fPROYNTEC;
