#pragma once
#include "platform/ui/Form.h"

#include <QStringList>

namespace plat {
class Button;
class ComboBox;
class DataSet;
class DataSource;
class DBLookupComboBox;
class Edit;
class Label;
class MainMenu;
class Memo;
class MenuItem;
class Panel;
class TableComponent;
} // namespace plat

// The record filter dialog: conditions built one by one into a list that becomes the
// dataset's filter text, and named filters saved per table in FILTRO. Created once at
// start-up and shown again on every call.
class TfGENEFILT : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEFILT(QWidget *parent = nullptr);
    ~TfGENEFILT() override;

    plat::Panel *Panel1;
    plat::Label *LabelCampo;
    plat::ComboBox *ListaCampos;
    plat::Label *LabelOperador;
    plat::ComboBox *Operador;
    plat::Label *LabelValor;
    plat::Edit *Valor;
    plat::Button *pbAgregar;
    plat::Panel *Panel2;
    plat::Label *LabelFiltro;
    plat::Memo *MemoFiltros;
    plat::Panel *PanelControl;
    plat::Button *pbAplicar;
    plat::Button *pbCancelar;
    plat::Button *pbRestablecer;
    plat::Panel *P0;
    plat::Label *LabelDescripcion;
    plat::DBLookupComboBox *EditDescripcionFiltro;
    plat::MainMenu *MainMenu1;
    plat::MenuItem *Archivo;
    plat::MenuItem *Guardar;
    plat::MenuItem *GuardarComo;
    plat::MenuItem *Eliminar;
    plat::MenuItem *Salir;
    plat::TableComponent *Filtro;
    plat::DataSource *DSFiltro;

    // Shows the dialog for the dataset and, on OK, filters it by the list of conditions.
    void FiltrarTabla(plat::DataSet &dataSet);

    // The type names of the offered fields, in the order of ListaCampos (while
    // FiltrarTabla runs).
    const QStringList &TiposCampos() const { return tiposCampos_; }

public slots:
    void pbAgregarClick(QObject *Sender);
    void pbRestablecerClick(QObject *Sender);
    void EditDescripcionFiltroClick(QObject *Sender);
    void GuardarClick(QObject *Sender);
    void GuardarComoClick(QObject *Sender);
    void EliminarClick(QObject *Sender);
    void SalirClick(QObject *Sender);
    void FormClose(QObject *Sender);

private:
    QString nombreTablaFiltrada(const plat::DataSet &dataSet) const;
    bool abrirFiltrosGuardados();
    void ofrecerCampos(const plat::DataSet &dataSet);
    void aplicarFiltro(plat::DataSet &dataSet);
    // Selects the current saved filter in the description box and loads its text.
    void mostrarFiltroActual(bool cargarTexto);
    QString textoFiltroActual() const;
    bool hayFiltroSeleccionado() const;
    void construirControles();

    QString nombreTabla_;
    QStringList tiposCampos_;
};

extern TfGENEFILT *fGENEFILT;
