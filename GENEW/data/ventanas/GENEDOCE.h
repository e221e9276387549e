#pragma once
#include "GENEW/data/servicios/SentenciasDocumentos.h"
#include "GENEW/data/ventanas/VentanaPrograma.h"

#include <QStringList>
#include <QUrl>

class QScrollArea;
class QTreeWidgetItem;

namespace plat {
class HtmlView;
class Image;
class ListView;
class Memo;
class MenuItem;
class OpenDialog;
class Panel;
class PopupMenu;
class SpeedButton;
} // namespace plat

// The electronic documents of one record (DOCUTRON): links to files, folders and web pages,
// and notes, each with a title and a description. The window lists them, shows the chosen
// one (a picture in the image pane, a page or text in the browser), opens it with the
// desktop's program, edits the list, walks the table's records that have documents and
// mails a selection of them.
class TfGENEDOCE : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENEDOCE(QWidget *parent = nullptr);

    plat::Panel *Panel1;
    plat::SpeedButton *pbAgregar;
    plat::SpeedButton *pbEliminar;
    plat::SpeedButton *pbEjecutar;
    plat::SpeedButton *pbAgregarWeb;
    plat::SpeedButton *pbAgregarCarpeta;
    plat::SpeedButton *pbEnviarEMail;
    plat::SpeedButton *pbPrimero;
    plat::SpeedButton *pbAnterior;
    plat::SpeedButton *pbSiguiente;
    plat::SpeedButton *pbUltimo;
    plat::Panel *pnClave;
    plat::ListView *ListView1;
    plat::PopupMenu *PopupMenu1;
    plat::MenuItem *InicializarLista1;
    plat::MenuItem *AgregarALista1;
    plat::MenuItem *VerLista1;
    plat::MenuItem *EnviarLista1;
    plat::MenuItem *EnviarDocumento1;
    plat::Panel *PanelDescripcion;
    plat::SpeedButton *pbEditarDescripcion;
    plat::Memo *MemoDescripcion;
    plat::Panel *PanelVisor;
    plat::SpeedButton *pbStretch;
    plat::HtmlView *WebBrowser1;
    QScrollArea *ScrollBoxImagen;
    plat::Image *Imagen;
    plat::OpenDialog *OpenDialog1;

    // The record shown: its table without owner and its "|" key text.
    QString TablaDocumentos;
    QString ClaveDocumentos;
    // The documents chosen for mailing, title "|" location, sorted and without repeats.
    QStringList DocumentosSeleccionados;
    // The program of the window whose record is shown: the list is written only when the
    // user may write for it and for this window's own program.
    QString ProgramaRegistro;
    // The buttons that write, enabled as the user's levels allow.
    void aplicarNivel();

public slots:
    void CargarDocumentos();
    void MostrarDocumento();
    void EnviarDocumentosCorreo();

    void FormCreate(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void BuscarDatosDBEdit(QObject *Sender);
    void pbAgregarClick(QObject *Sender);
    void pbAgregarCarpetaClick(QObject *Sender);
    void pbAgregarWebClick(QObject *Sender);
    void pbEliminarClick(QObject *Sender);
    void pbEjecutarClick(QObject *Sender);
    void pbEditarDescripcionClick(QObject *Sender);
    void pbStretchClick(QObject *Sender);
    void pbPrimeroClick(QObject *Sender);
    void pbAnteriorClick(QObject *Sender);
    void pbSiguienteClick(QObject *Sender);
    void pbUltimoClick(QObject *Sender);
    void pbEnviarEMailClick(QObject *Sender);
    void InicializarLista1Click(QObject *Sender);
    void AgregarALista1Click(QObject *Sender);
    void VerLista1Click(QObject *Sender);
    void EnviarLista1Click(QObject *Sender);
    void EnviarDocumento1Click(QObject *Sender);

private:
    QStringList programas() const;
    plat::SpeedButton *boton(const QString &nombre, const QString &texto, const QString &ayuda);
    void construirMenu();
    void vaciarVisores();
    // No document: no description and an empty page.
    void mostrarNada();
    // Inserts a document of the record; on success it is listed and chosen.
    void agregarDocumento(const QString &nombre, const QString &ubicacion, const QString &descripcion);
    void navegar(sentenciasDocumentos::Movimiento movimiento);
    QString descripcionDe(const QString &nombre);
    QString destinatario();
    void seleccionar(const QTreeWidgetItem &item);

    InstanciaGlobal<TfGENEDOCE> instancia_;
};

extern TfGENEDOCE *fGENEDOCE;

// Opens the window on the documents of a record (table, "|" key text), when the user may
// use the program "Documentación Electrónica".
void AbrirDocumentacionElectronica(const QString &tabla, const QString &clave);

// Where a document is: a file or folder (a path from "/" or a "file:" address), as a local
// path; empty for a web address or a note.
QString RutaLocalDocumento(const QString &ubicacion);
// The address the desktop opens for a location: the file's own, or a web address with
// "http://" in front when it names no scheme.
QUrl DireccionDocumento(const QString &ubicacion);
