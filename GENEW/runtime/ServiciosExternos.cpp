#include "GENEW/runtime/ServiciosExternos.h"

#include "GENEW/runtime/ComandosVktlext.h"
#include "GENEW/runtime/GENEOPEN.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/MensajeCorreo.h"
#include "GENEW/runtime/ProgramasExternos.h"
#include "GENEW/runtime/ServicioWeb.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ShellTreeView.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSysInfo>

namespace {

const QString kSinServicioWeb = QStringLiteral("¡No ha sido posible acceder a la dirección del Servicio Web!. Motivo: ");

EntornoVktlext entornoVktlext(const TfGENEINIC &f)
{
    return {LocalizarProgramaHermano(QStringLiteral("VKTLEXT.EXE"), f.DirectorioInstalacion), DirectorioTemporal(),
            f.Configuracion.directorioTrabajo, NuevoGUID};
}

} // namespace

// ---- free routines ------------------------------------------------------------------------

bool AbrirURL(const QUrl &url)
{
    if (const AbrirURLFn &abrir = ganchoAbrirURL().valor())
        return abrir(url);
    return QDesktopServices::openUrl(url);
}

Gancho<AbrirURLFn> &ganchoAbrirURL()
{
    static Gancho<AbrirURLFn> gancho;
    return gancho;
}

QString PaginaAyuda(const QString &directorioArranque, int contexto)
{
    const QString pagina = contexto == 0 ? QStringLiteral("index.html") : QString::number(contexto) + QStringLiteral(".html");
    return directorioArranque + QStringLiteral("ayuda/") + pagina;
}

void MostrarHTML(QObject *propietario, const QString &html, plat::HtmlView *navegador)
{
    const QString dueno =
        propietario && !propietario->objectName().isEmpty() ? propietario->objectName() : QStringLiteral("Unknown");
    QString nombre = dueno;
    if (fGENEINIC && fGENEINIC->NombresTablas.valor().nombreTablaTemporal)
        nombre = fGENEINIC->NombresTablas.valor().nombreTablaTemporal(dueno, 1);
    const QString archivo = DirectorioTemporalPropio() + nombre + QStringLiteral(".html");
    QFile::remove(archivo);
    EscribirFicheroTexto(archivo, html);
    if (navegador)
        navegador->Navigate(QStringLiteral("file://") + archivo);
}

QString ObtenerNombreUNC(const QString &ruta) { return ruta; }

// ---- the auxiliary program ---------------------------------------------------------------

int TfGENEINIC::EnviarCorreoMAPI(const QString &asunto, const QString &texto, const QString &adjuntos,
                                 const QString &nombreRemitente, const QString &emailRemitente,
                                 const QString &nombreDestinatario, const QString &emailDestinatario,
                                 const QString &nombreDestinatarioCC, const QString &emailDestinatarioCC,
                                 const QString &opciones)
{
    return EjecutarComandoVktlext(ComandoEnviarEMailMAPI(asunto, texto, adjuntos, nombreRemitente, emailRemitente,
                                                         nombreDestinatario, emailDestinatario, nombreDestinatarioCC,
                                                         emailDestinatarioCC, opciones),
                                  entornoVktlext(*this));
}

void TfGENEINIC::AbrirDocumentoWord(const QString &documento, const QString &valores)
{
    EjecutarComandoVktlext(ComandoAbrirDocumentoWord(documento, valores), entornoVktlext(*this));
}

int TfGENEINIC::ImprimirDocumento(const QString &documento, const QString &impresora, const QString &tipo)
{
    return EjecutarComandoVktlext(ComandoImprimirDocumento(documento, impresora, tipo), entornoVktlext(*this));
}

// ---- mail ------------------------------------------------------------------------------------

bool TfGENEINIC::EnviarCorreoElectronico(const QString &ajustesSMTP, const QString &destinatarios,
                                         const QString &asunto, const QString &texto, const QString &adjuntos,
                                         QString &error, const QString &datosCorreo, const QString &opciones)
{
    const QString ajustes = QString(ajustesSMTP).remove(QStringLiteral("(Masivo)"));
    error.clear();
    if (EnviaPorSMTP(ajustes))
        return EnviarCorreoSMTP(ajustes, destinatarios, asunto, texto, adjuntos);

    QString datos = datosCorreo;
    auto dato = [&datos](const char *clave) { return LeerValorDeLista(QString::fromLatin1(clave), datos); };
    if (dato("EMailDestinatarioCC").isEmpty()) {
        const QString copias = LeerValorDeLista(QStringLiteral("CuentaSMTPCopiasDocumentos"), ajustes);
        EscribirValorEnTexto(QStringLiteral("EMailDestinatarioCC"), copias, datos);
        EscribirValorEnTexto(QStringLiteral("NombreDestinatarioCC"), copias, datos);
    }
    const int resultado = EnviarCorreoMAPI(asunto, texto, adjuntos, dato("NombreRemitente"), dato("EMailRemitente"),
                                           dato("NombreDestinatario"), destinatarios, dato("NombreDestinatarioCC"),
                                           dato("EMailDestinatarioCC"), opciones);
    if (resultado == 0 || resultado == 1)
        return true;
    error = QStringLiteral("Error en el envío (MAPI): ") + QString::number(resultado);
    return false;
}

bool TfGENEINIC::EnviarDocumentoCorreo(const QString &ajustesSMTP, const QString &destinatarios,
                                       const QString &asunto, const QString &texto, const QString &adjuntos,
                                       const QString &datosCorreo, const QString &opciones)
{
    QString error;
    return EnviarCorreoElectronico(ajustesSMTP, destinatarios, asunto, texto, adjuntos, error, datosCorreo, opciones);
}

bool TfGENEINIC::EnviarCorreoSMTP(const QString &ajustesSMTP, const QString &destinatarios, const QString &asunto,
                                  const QString &texto, const QString &adjuntos)
{
    if (ajustesSMTP.isEmpty() || destinatarios.isEmpty())
        return false;
    const AjustesSMTP ajustes = AjustesSMTP::deTexto(ajustesSMTP);
    MensajeCorreo mensaje;
    mensaje.nombreRemitente = RazonSocial.valor() ? RazonSocial.valor()() : QString();
    mensaje.direccionRemitente = ajustes.direccionRemitente();
    mensaje.destinatarios = DividirDirecciones(destinatarios);
    mensaje.copias = DividirDirecciones(ajustes.cuentaCopias);
    mensaje.asunto = asunto;
    mensaje.texto = texto;
    mensaje.adjuntos = AdjuntosExistentes(adjuntos);
    if (mensaje.destinatarios.isEmpty())
        return false;
    const QByteArray id = NuevoGUID().toLatin1();
    // The Date header is an instant of the sending machine, not a program date.
    const QByteArray datos = ComponerMensaje(mensaje, QDateTime::currentDateTime(), "=_" + id,
                                             id + '@' + QSysInfo::machineHostName().toUtf8());
    EnviarMensajeSMTP(ajustes, mensaje.direccionRemitente, mensaje.sobres(), datos, TransporteCorreo);
    return true;
}

// ---- messaging, web service, help, pages and the picker ------------------------------------

void TfGENEINIC::LanzarMensajeria(QObject *, const QString &modo)
{
    if (!Configuracion.parametros.MensajeriaInternaActivada)
        return;
    QStringList argumentos;
    if (!modo.isEmpty())
        argumentos << modo;
    argumentos << (ClaveAccesoActual.isEmpty() ? QStringLiteral("Indefinida") : ClaveAccesoActual) << UsuarioActual
               << Configuracion.archivoConfiguracion;
    // The message names the program only: the parameters carry the user's password.
    const QString programa = QStringLiteral("TROMSEL.EXE");
    IniciarPrograma(programa, argumentos, programa, QString(), DirectorioInstalacion);
}

QString TfGENEINIC::ConectarServicioWeb(const QString &peticion)
{
    const ParametrosKorvel &p = Configuracion.parametros;
    const QString servidor = p.AccesoWebLocalHost ? p.ServidorServicioWebLocal : p.ServidorServicioWeb;
    IndicarProgreso(QStringLiteral("ON"), QStringLiteral("Conexión al Servicio Web de VKT"),
                    QStringLiteral("Conectando..."), QString());
    const RespuestaServicioWeb r = ConsultarServicioWeb(DireccionServicioWeb(servidor, peticion), SegundosEsperaServicioWeb);
    IndicarProgreso(QStringLiteral("OFF"), QString(), QString(), QString());
    return r.correcta ? r.texto : kSinServicioWeb + r.texto;
}

int ContextoAyudaDeTitulo(const QString &titulo)
{
    return fGENEINIC ? fGENEINIC->Configuracion.mapaNombres.codigoDeNombre(titulo) : 0;
}

bool TfGENEINIC::MostrarAyuda(int contexto)
{
    const QString pagina = PaginaAyuda(Configuracion.directorioTrabajo, contexto);
    if (!QFileInfo(pagina).isFile())
        MensajeAviso(QStringLiteral("¡No existe el archivo de ayuda!"));
    if (!AbrirURL(QUrl::fromLocalFile(pagina))) {
        MensajeAviso(QStringLiteral("¡La Ayuda HTML no está instalada en esta máquina!"));
        return false;
    }
    return true;
}

void TfGENEINIC::AbrirPaginaHTML(QObject *propietario, plat::HtmlView *navegador)
{
    MostrarHTML(propietario, QString(), navegador);
    EsperarMilisegundos(100);
}

bool TfGENEINIC::SeleccionarCarpetaArchivo(const QString &titulo, QString &ruta, const QString &opciones)
{
    auto *form = plat::createForm<TfGENEOPEN>();
    form->Titulo->setText(titulo);
    plat::ShellTreeView::ObjectTypes tipos;
    if (opciones.contains(QLatin1String("Carpetas")))
        tipos |= plat::ShellTreeView::otFolders;
    if (opciones.contains(QLatin1String("Archivos")))
        tipos |= plat::ShellTreeView::otNonFolders;
    if (opciones.contains(QLatin1String("Ocultos")))
        tipos |= plat::ShellTreeView::otHidden;
    form->ShellTreeView->setObjectTypes(tipos);
    form->ShellTreeView->setRoot(ruta);
    const bool aceptado = form->ShowModal() == plat::mrOk;
    if (aceptado)
        ruta = form->ShellTreeView->path();
    form->Free();
    return aceptado;
}
