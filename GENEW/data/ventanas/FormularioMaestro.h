#pragma once
#include "GENEW/data/servicios/NumeracionAlta.h"
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <QList>

namespace plat {
class DataSet;
class Field;
class TableDataSet;
} // namespace plat

// A record window over one master table: the bottom button panel, the menu "&Ficha" that
// merges into the main window, navigation, adding (optionally duplicating the record that
// was current), the key checks, saving, deleting and closing. Each window says in its
// constructor how it differs (Comportamiento) and builds its own controls; the key control
// and the data-aware controls are its own.
class FormularioMaestro : public VentanaPrograma
{
    Q_OBJECT
public:
    // What the windows of the pattern set differently.
    struct Comportamiento
    {
        QString fallaGrabarEdicion = QStringLiteral("¡ El registro está siendo modificado por otro usuario !");
        QString fallaGrabarAlta = QStringLiteral("¡ Este registro ya existe !");
        QString preguntaEliminar = QStringLiteral("¿ Está seguro de querer eliminar el registro ?");
        QString fallaEliminar = QStringLiteral("¡ Este registro no puede eliminarse !");
        bool anadirAlFinal = false;           // append instead of insert at the cursor
        bool nuevoTrasGrabarAlta = true;      // records entered one after another
        bool comprobarCierre = false;         // refuse to close while a table edits
        bool grabarMemos = false;             // memo fields written by statement after a post
        bool refrescarSoloNavegando = false;  // pbRefrescar disabled while editing
        bool soloMinimizar = false;           // the frame offers minimising, never maximising
    };

    FormularioMaestro(QWidget *parent, const QString &nombre, const QString &titulo);
    ~FormularioMaestro() override;

    // The window's own check of a control (nullptr: the whole record); a rejection has
    // been told to the user.
    virtual bool ValidarControl(QWidget *control);
    void HabilitarControles(bool editando);
    // Binds the key control's change and exit to the key checks.
    void establecerCampoClave(plat::Edit *control);
    bool editando() const;

    plat::TableComponent *Table1;
    plat::DataSource *DataSource1;
    plat::Panel *PanelControl, *PanelNavegador;
    plat::Button *pbPrimero, *pbAnterior, *pbSiguiente, *pbUltimo, *pbEliminar, *pbAgregar, *pbSalir,
        *pbCancelar, *pbConforme, *pbRefrescar;
    plat::MainMenu *MainMenu1;
    plat::MenuItem *Ficha, *IralPaneldeControl1, *Agregar, *Eliminar1, *EliminacionMultiple1, *Buscar,
        *FiltrarRegistros1, *CopiarRegistrosaOtrasEmpresas1, *ListarFichaActual1, *FormatoOriginal1,
        *APaginaCompleta1, *CancelarEdicion1, *ListadoProgramable1, *DocumentacionElectronica1, *Cerrar1;

    plat::Edit *CampoClave = nullptr;
    int IndiceBusqueda = 0;
    QString ClaveDuplicacion;
    bool ClaveModificada = false;

public slots:
    virtual void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormCloseQuery(QObject *Sender, bool &CanClose);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void pbPrimeroClick(QObject *Sender);
    void pbAnteriorClick(QObject *Sender);
    void pbSiguienteClick(QObject *Sender);
    void pbUltimoClick(QObject *Sender);
    virtual void AgregarClick(QObject *Sender);
    void Eliminar1Click(QObject *Sender);
    virtual void pbConformeClick(QObject *Sender);
    void pbCancelarClick(QObject *Sender);
    void Salir1Click(QObject *Sender);
    void Cerrar1Click(QObject *Sender);
    virtual void pbRefrescarClick(QObject *Sender);
    void IralPaneldeControl1Click(QObject *Sender);
    void EliminacionMultiple1Click(QObject *Sender);
    void BuscarClick(QObject *Sender);
    void FiltrarRegistros1Click(QObject *Sender);
    void CopiarRegistrosaOtrasEmpresas1Click(QObject *Sender);
    void ListadoProgramable1Click(QObject *Sender);
    void DocumentacionElectronica1Click(QObject *Sender);
    void FormatoOriginal1Click(QObject *Sender);
    void APaginaCompleta1Click(QObject *Sender);
    void CampoClaveExit(QObject *Sender);
    void CampoClaveChange(QObject *Sender);
    virtual void GrabarDatos(QObject *Sender);
    void ValidacionWinControl(QObject *Sender);
    virtual void Table1BeforePost(plat::DataSet &DataSet);
    virtual void Table1BeforeInsert(plat::DataSet &DataSet);
    virtual void Table1NewRecord(plat::DataSet &DataSet);
    virtual void Table1AfterPost(plat::DataSet &DataSet);
    virtual void DataSource1StateChange(QObject *Sender);
    virtual void BuscarDatosDBEdit(QObject *Sender);
    virtual void DBGrid1DblClick(QObject *Sender);

protected:
    Comportamiento comportamiento;
    void showEvent(QShowEvent *event) override;
    // Posts the table's edit or insert; a refused one shows fallaEdicion or fallaAlta (a lost
    // server its own notice) and stays in edit or insert as typed, to be saved again or
    // cancelled. False when it failed or the window's validation refused.
    bool grabarRegistro(const QString &fallaEdicion, const QString &fallaAlta);
    // The same for any dataset of the window (a grid's lines); true when it was not editing.
    bool grabarTabla(plat::DataSet &tabla, const QString &fallaEdicion, const QString &fallaAlta);
    // The focus entering the grid of the record's lines saves the record first. Lines of a
    // record that is not stored cannot be typed: a refused save takes the focus back to the
    // record's controls (the key of a new one). False when refused.
    bool grabarAntesDeLineas(QWidget *rejilla);
    // The key's range by its field type; false (after the warning) when out of it.
    bool claveEnRango(const plat::Field &campo, const QString &texto);
    // Where the window's own controls go, above the button panel.
    QWidget *areaDatos() const { return AreaDatos; }
    // The new record's `campo` gets the table's next code, taken anew should another user
    // save a record under it first (see NumeracionAlta).
    void numerarAlta(plat::DataSet &DataSet, const QString &campo);

private:
    void construirPanel();
    void construirMenu();
    void volverAlCampoClave();
    QList<plat::TableComponent *> tablas() const;
    // The window's image on the printer the print dialog confirms.
    void listarFichaActual(bool aPaginaCompleta);

    QWidget *AreaDatos;
    bool bordeSoloMinimizar_ = false;
    bool soloLectura_ = false;   // the user's level for the window's program

    NumeracionAlta numeracion_;
};
