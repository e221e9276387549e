#pragma once
#include "GENEW/data/ventanas/FormularioMaestro.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"

#include <QStringList>

// The operator master: the operators (OPERARIO) with their category, rate, latest mobile
// activity, card and user, their analysis groups (GRANTAB) and their photo.
class TfPRESOPER : public FormularioMaestro
{
    Q_OBJECT
public:
    explicit TfPRESOPER(QWidget *parent = nullptr);
    ~TfPRESOPER() override;

    plat::TableComponent *GATablas;
    plat::DataSource *DSGATablas;
    plat::Label *LBCodigo, *LBNombre, *LBCategoria, *LBTarifa, *LBActividadMovil, *LBNumeroTarjeta, *LBCodigoUsuario,
        *LBCalendario, *LBGruposAnalisis, *LBFotografia;
    plat::DBEdit *EditCodigo, *EditNombre, *EditCategoria, *EditTarifa, *EditActividadMovil, *EditNumeroTarjeta,
        *EditCodigoUsuario, *EditCalendario;
    plat::SpeedButton *CalendarioOperario;
    plat::DBGrid *DBGridGA;
    plat::Panel *PanelFoto;
    plat::Image *Foto;
    plat::PopupMenu *PopupMenuFoto;
    plat::MenuItem *BorrarlaImgen1;

    bool ValidarControl(QWidget *control) override;
    // The current operator's key text in the side tables ("|"-joined).
    QString ClaveOperario();

public slots:
    void FormCreate(QObject *Sender) override;
    void pbRefrescarClick(QObject *Sender) override;
    void BuscarDatosDBEdit(QObject *Sender) override;
    void Table1BeforeDelete(plat::DataSet &DataSet);
    void Table1AfterDelete(plat::DataSet &DataSet);
    void Table1DeleteError(plat::DataSet &DataSet, const gp::Error &E, plat::DataAction &Action);
    void Table1BeforeCancel(plat::DataSet &DataSet);
    void Table1AfterScroll(plat::DataSet &DataSet);
    void Table1CalcFields(plat::DataSet &DataSet);
    void DataSource1DataChange(QObject *Sender, plat::Field *Field);
    void GATablasNewRecord(plat::DataSet &DataSet);
    void GATablasCalcFields(plat::DataSet &DataSet);
    void DBGridGADblClick(QObject *Sender);
    void BorrarlaImgen1Click(QObject *Sender);
    // The operator's calendar, from this month, under the operator's presence-system code.
    void CalendarioOperarioClick(QObject *Sender);
    // Files dropped on the photo panel, local paths in drop order: the first becomes the photo.
    void PanelFotoDropFiles(QObject *Sender, const QStringList &Ficheros);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void construirDatos(QWidget *area);
    void construirGrupos(QWidget *area);
    void construirFoto(QWidget *area);
    void conectarEventos();
    void aplicarEjecutable();
    bool categoriaValida();
    void terminarBorrado(bool confirmar);

    // A deletion's transaction is open, from its before-delete to its end.
    bool borrando_ = false;
    InstanciaGlobal<TfPRESOPER> instancia_;
};

extern TfPRESOPER *fPRESOPER;
