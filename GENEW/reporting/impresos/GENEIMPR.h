#pragma once
#include "GENEW/data/ventanas/FormularioMaestro.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DataControls.h"

#include <functional>
#include <optional>

// The window's mode: "Contexto" while it is opened from a layout selector (then modal,
// asking for no company), empty otherwise; cleared when the window closes.
extern QString ModoImpresos;
inline const QString kModoContexto = QStringLiteral("Contexto");

// "Configuración de Impresos": the print layouts of table IMPRESO, one record each, with the
// tools of the layout text: a simulation through the print engine (field names in place of
// values), import and export as a text file, and the text box's font.
class TfGENEIMPR : public FormularioMaestro
{
    Q_OBJECT
public:
    explicit TfGENEIMPR(QWidget *parent = nullptr);
    ~TfGENEIMPR() override;

    plat::Label *LabelCodigo, *LabelDescripcion, *LabelTipoDocumento, *LabelModo, *LabelFormato,
        *LabelImpresoraPorDefecto;
    plat::DBEdit *EditCodigo, *EditDescripcion;
    plat::DBComboBox *EditTipoDocumento, *EditModo, *EditFormato, *EditImpresoraPorDefecto;
    plat::PageControl *PageControl1;
    plat::TabSheet *PagInstrucciones, *PagAdicional;
    plat::DBMemo *EditInstrucciones;
    plat::Panel *P1;
    plat::SpeedButton *pbSimular, *pbCambiarFont, *pbImportar, *pbExportar, *pbAyuda;

    // The check of one control, or of the whole record when given none; a refusal has been
    // told to the user.
    bool ValidarDatos(QWidget *control);
    bool ValidarControl(QWidget *control) override { return ValidarDatos(control); }

public slots:
    void FormCreate(QObject *Sender) override;
    void FormShow(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void GrabarDatos(QObject *Sender) override;
    void pbConformeClick(QObject *Sender) override;
    void CampoClaveExit(QObject *Sender);
    void DataSource1StateChange(QObject *Sender) override;
    void Table1NewRecord(plat::DataSet &DataSet) override;
    void Table1AfterPost(plat::DataSet &DataSet) override;
    void Buscar1Click(QObject *Sender);
    void CopiarRegistrosaOtrasEmpresas1Click(QObject *Sender);
    void DocumentacionElectronica1Click(QObject *Sender);
    void BuscarDatosDBEdit(QObject *Sender) override;
    void pbRefrescarClick(QObject *Sender) override;
    void Ayuda1Click(QObject *Sender);
    void pbAyudaClick(QObject *Sender);
    void pbSimularClick(QObject *Sender);
    void pbImportarClick(QObject *Sender);
    void pbExportarClick(QObject *Sender);
    void pbCambiarFontClick(QObject *Sender);

private:
    void construirDatos(QWidget *area);
    void construirPaginas(QWidget *area);
    void construirHerramientas(QWidget *area);
    void ajustarMenu();
    // Asks for the company of the window when the runtime lets the user choose it and puts
    // its abbreviation before the caption; false when the window must close.
    bool elegirEmpresa();
    void llenarImpresoras();
    // A stored value that is no item of a drop-down list shows as stored until one is picked.
    void mostrarValoresFueraDeLista();
    // Posts the edit or insert (an insert goes on with the next new record); false when a
    // check refused or the post failed, which has been told except for a failed insert.
    bool grabar();
    void mostrarAyuda(const QString &titulo);
    void volverAlCampoClave();
    bool focoEn(const QWidget *control) const;

    // Opened in mode "Contexto": modal, no company question, freed by its opener.
    const bool enContexto_;
    bool enterCambiadoATab_ = false;
    // Set when leaving the key of a new record towards pbConforme saved it: the click that
    // follows only reports whether that save failed.
    std::optional<bool> grabadoAlSalirDeClave_;
    InstanciaGlobal<TfGENEIMPR> instancia_;
};

extern TfGENEIMPR *fGENEIMPR;

// The layout editor on one layout, opened modally in mode "Contexto" as the form framework's
// Ctrl+P on a layout selector asks: the window is freed when the user closes it.
void EditarImpresoEnContexto(const QString &codigoImpreso);

// The form framework's entry points of the layout editor for the life of this object: the
// editor itself and the user's right to open it (any access level but "Ninguno").
class EdicionImpresosInstalada
{
public:
    EdicionImpresosInstalada();
    ~EdicionImpresosInstalada();
    EdicionImpresosInstalada(const EdicionImpresosInstalada &) = delete;
    EdicionImpresosInstalada &operator=(const EdicionImpresosInstalada &) = delete;

private:
    std::function<void(const QString &)> editarPrevio_;
    std::function<bool(const QString &)> puedeAbrirPrevio_;
};
