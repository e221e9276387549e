#pragma once
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/NombreEmpresaInforme.h"
#include "platform/ui/Form.h"

class PreparacionDiferida;

#include <functional>
#include <memory>
#include <optional>

namespace plat {
class Image;
class Label;
class Panel;
class TableComponent;
} // namespace plat

// The program's main window: an MDI frame that holds every program window. Its first
// showing starts the session (data module, log-in, the user's right to the program, the
// company table, the user's first company); its menus open the programs through the user's
// rights and the access log; it keeps the menus of stored statements and custom reports,
// the currency toggle, the help menu, the company logo and the web link.
class TfPROYMENU : public plat::Form
{
    Q_OBJECT
public:
    explicit TfPROYMENU(QWidget *parent = nullptr);
    ~TfPROYMENU() override;

    plat::Image *Image1;
    plat::Label *IrAPaginaWeb;
    plat::Panel *PanelLogotipo;
    plat::Image *ImagenLogotipo;
    plat::Panel *PanelMoneda;
    plat::MainMenu *MainMenu1;
    plat::TableComponent *Empresa;

    plat::MenuItem *BaseDatos1, *CambioEmpresa1, *ConsultasSQL1, *Salir1;
    plat::MenuItem *Tablas1, *Parametros1, *Globales1, *MaestrodeTextos1, *MaestrodeOperarios1, *MaestrodeProyectos1,
        *MaestrodeGamasdeControl1;
    plat::MenuItem *Procesos1, *IntroduccindeNotasTcnicas1, *NotificacionesdeCambiosdeVersin1;
    plat::MenuItem *Informes1, *ConsultadeProyectos1;
    plat::MenuItem *Utilidades1, *IntercambiodeCdigosdeOperarios1;
    plat::MenuItem *Adicional1, *AplicacionesEspeciales1, *VerDatosenMonedaNacionalOEuro;
    plat::MenuItem *Ventana1, *OrganizarIconos1;
    plat::MenuItem *Ayuda1, *IndicedeAyuda, *AyudadeMenu, *Ayudade, *LoNuevoDeMenu, *AcercadeMenu;

    // The program name for rights, help and captions (the caption at creation).
    const QString &NombrePrograma() const { return nombrePrograma_; }
    // The open company's name for listings (EMPRESA Nombre).
    const QString &NombreEmpresa() const { return nombreEmpresa_; }

    // Called before the first activation opens the user's programs by itself: what those
    // programs need that the start made later is made now.
    std::function<void()> AntesDeAbrirProgramas;

    // Work of the session's start that waits for the window's first paint.
    bool PreparacionPendiente() const;
    // That work, done now: a program is about to use it.
    void CompletarPreparacion();

    void CrearModulosDatos();
    // Opens the current company; the session stays on none (code 0) when it cannot. Answers
    // why its database could not be made, empty otherwise.
    QString AbrirEmpresa();
    void SeleccionarEmpresa();
    // Opens a program window of class F through the user's access level to the item's menu
    // path; without access nothing happens.
    template<class F>
    void AbrirFormulario(F *&formulario, plat::MenuItem *item, const QString &nombre)
    {
        CompletarPreparacion();
        if (accesoPermitido(item))
            ModuloDatos->AbrirFormularioMDI(formulario, nombre);
    }

public slots:
    void FormCreate(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormResize(QObject *Sender);
    void CambioFormularioActivo();

    void CambioEmpresa1Click(QObject *Sender);
    void ConsultasSQL1Click(QObject *Sender);
    void SalirAplicacion(QObject *Sender);
    void Globales1Click(QObject *Sender);
    void MaestrodeTextos1Click(QObject *Sender);
    void MaestrodeOperarios1Click(QObject *Sender);
    void MaestrodeProyectos1Click(QObject *Sender);
    void MaestrodeGamasdeControl1Click(QObject *Sender);
    void IntroduccindeNotasTcnicas1Click(QObject *Sender);
    void NotificacionesdeCambiosdeVersin1Click(QObject *Sender);
    void ConsultadeProyectos1Click(QObject *Sender);
    void IntercambiodeCdigosdeOperarios1Click(QObject *Sender);
    void AplicacionesEspeciales1Click(QObject *Sender);
    void VerDatosenMonedaNacionalOEuroClick(QObject *Sender);
    void OrganizarIconos1Click(QObject *Sender);
    void Ayuda1Click(QObject *Sender);
    void IndicedeAyudaClick(QObject *Sender);
    void AyudadeMenuClick(QObject *Sender);
    void AyudadeClick(QObject *Sender);
    void LoNuevoDeMenuClick(QObject *Sender);
    void AcercadeMenuClick(QObject *Sender);
    void ImagenLogotipoClick(QObject *Sender);
    void IrAPaginaWebClick(QObject *Sender);

protected:
    // The MDI area's background follows the size of its viewport.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    plat::MenuItem *entrada(plat::MenuItem *menu, const QString &nombre, const QString &titulo,
                            void (TfPROYMENU::*manejador)(QObject *) = nullptr);
    void crearMenu();
    bool iniciarSesion();
    bool abrirTablaEmpresa();
    // The active window's "pbEuro" and the currency entry, for the data module's amounts.
    TModuloDatos::EstadoVistaMoneda estadoVistaMoneda() const;
    void colocarPaneles();
    // The background picture scaled to the area's size, when that size has none yet.
    void ajustarFondo();
    void asignarAtajoAyuda();
    bool accesoPermitido(const plat::MenuItem *item) const;
    void anadirInformes();
    QString usuario() const;
    int empresaActual() const;
    void ponerEmpresaActual(int codigo);

    QString nombrePrograma_;
    QString nombreEmpresa_;
    // The open company's name for listings, served while a company is open.
    std::optional<Gancho<std::function<QString()>>::Instalacion> empresaAbierta_;
    bool primeraActivacion_ = true;
    bool iniciandoSesion_ = false;
    bool informesPendientes_ = false;   // the reports' entries wait for the first paint
    QSize fondoAjustado_;   // the area's size the background was last scaled to
    // The session's work that nothing needs before the window is painted.
    std::unique_ptr<PreparacionDiferida> trasPintar_;
};

extern TfPROYMENU *fPROYMENU;
