#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"

#include <QStringList>

namespace plat {
class Button;
class DataSource;
class DBComboBox;
class DBMemo;
class MenuItem;
class PageControl;
class Panel;
class PopupMenu;
class TabSheet;
} // namespace plat

// The general parameters of the company ("Parámetros Globales"), a program window of the main
// window that edits the data module's PARAGENE record in place: one labelled control per
// column, on the page the column belongs to.
class TfGENEPARA : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENEPARA(QWidget *parent = nullptr);

    plat::PageControl *PageControl1;
    plat::Panel *PanelControl;
    plat::Button *pbGrabar;
    plat::Button *pbCancelar;
    plat::DataSource *DSParamGenerales;
    plat::DBMemo *CfgCorreoElectronico;
    plat::DBMemo *PlantillaNumericaExt;
    plat::DBComboBox *TipoLetraListados;
    plat::PopupMenu *PopupPlantillas;
    plat::MenuItem *AsignarPlantillasPorDefecto;

    // The page (by caption) of each tab, in order.
    static const QStringList &Paginas();
    plat::TabSheet *pagina(const QString &caption) const;

    // Asks template n's format and field list and writes its line into PlantillaNumericaExt.
    void ConfigurarPlantilla(int n);

public slots:
    void FormCreate(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void pbGrabarClick();
    void pbCancelarClick();
    void EditarConfiguracionCorreo();
    void ElegirFuenteListados();
    void AsignarPlantillasPorDefectoClick();

private:
    void crearControles();
    void editarRegistro();

    InstanciaGlobal<TfGENEPARA> instancia_;
};

extern TfGENEPARA *fGENEPARA;

// The page a PARAGENE column is shown on: the named memos and certificate columns on their own
// pages, sales and purchases by their ending, Intrastat, company, VAT and printer columns on
// theirs, the rest on "General".
QString PaginaDeParametro(const QString &campo);
// The Spanish caption of a PARAGENE column's label; a column the table does not know yet has
// its name split into words.
QString TituloDeParametro(const QString &campo);
// The choices a column's combo box offers (empty: a free edit); the font list is added apart.
QStringList OpcionesDeParametro(const QString &campo);
