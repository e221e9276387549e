#include "GENEW/data/servicios/ServicioUsuarios.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

namespace {

const QString kCodigo = QStringLiteral("Codigo");
const QString kCategoria = QStringLiteral("Categoria");
const QString kClaveAcceso = QStringLiteral("ClaveAcceso");
const QString kConfiguracion = QStringLiteral("Configuracion");
const QString kContadorAccesos = QStringLiteral("ContadorAccesos");
const QString kAdministrador = QStringLiteral("Administrador");
const QString kNormal = QStringLiteral("Normal");
const int kIntentosPermitidos = 3;

// Settings kept in USUARIO columns of their own.
bool esClaveColumna(const QString &clave)
{
    static const QStringList columnas{QStringLiteral("ProgramasNoAccesibles"), QStringLiteral("ProgramasSoloLectura"),
                                      QStringLiteral("ProgramasActivos"), QStringLiteral("Empresas")};
    return columnas.contains(clave);
}

// Settings that belong to the user itself, never to its profile.
bool esClavePropia(const QString &clave)
{
    return clave == QLatin1String("IndicesBusqueda") || clave == QLatin1String("DatosBusqueda")
        || clave == kContadorAccesos;
}

bool esCategoriaBasica(const QString &categoria)
{
    return categoria.isEmpty() || categoria == kAdministrador || categoria == QLatin1String("Configurador")
        || categoria == kNormal;
}

} // namespace

void ServicioUsuarios::comprobarCambios()
{
    const QString marca = tabla_.marcaCambios();
    if (marca == memoria_->marca)
        return;
    *memoria_ = MemoriaUsuarios{marca, {}, {}};
}

ServicioUsuarios::FilaUsuario ServicioUsuarios::filaActual() const
{
    FilaUsuario valores;
    for (const QString &columna : {kCodigo, kCategoria, kConfiguracion, QStringLiteral("ProgramasNoAccesibles"),
                                   QStringLiteral("ProgramasSoloLectura"), QStringLiteral("ProgramasActivos"),
                                   QStringLiteral("Empresas")})
        valores.insert(columna, tabla_.valor(columna));
    return valores;
}

const std::optional<ServicioUsuarios::FilaUsuario> &ServicioUsuarios::fila(const QString &codigo)
{
    comprobarCambios();
    if (const auto leida = memoria_->filas.constFind(codigo); leida != memoria_->filas.cend())
        return *leida;
    std::optional<FilaUsuario> leida;
    if (tabla_.abierta() && tabla_.localizar(codigo))
        leida = filaActual();
    return *memoria_->filas.insert(codigo, leida);
}

QString ServicioUsuarios::UsuarioConfiguracion(const QString &usuario)
{
    comprobarCambios();
    if (const auto leida = memoria_->configuraciones.constFind(usuario); leida != memoria_->configuraciones.cend())
        return *leida;
    // The category is read from the user's row that the session keeps; where that table is not
    // open, the general database is queried.
    QString categoria;
    if (tabla_.abierta() && tabla_.tieneCampo(kCategoria)) {
        const std::optional<FilaUsuario> &valores = fila(usuario);
        categoria = valores ? valores->value(kCategoria) : QString();
    } else {
        categoria = consultarGeneral_(QStringLiteral("SELECT Categoria FROM USUARIO   WHERE Codigo = ") + Entrecomillar(usuario));
        // A question that failed is asked again next time.
        if (EsRespuestaErrorSQL(categoria))
            return usuario;
    }
    return *memoria_->configuraciones.insert(usuario, esCategoriaBasica(categoria) ? usuario : categoria);
}

QString ServicioUsuarios::usuarioEfectivo(const QString &usuario, const QString &clave)
{
    return esClavePropia(clave) ? usuario : UsuarioConfiguracion(usuario);
}

QString ServicioUsuarios::LeerConfiguracionUsuario(const QString &usuario, const QString &clave,
                                                   const QString &defecto)
{
    const std::optional<FilaUsuario> &valores = fila(usuarioEfectivo(usuario, clave));
    if (!valores)
        return defecto;
    if (esClaveColumna(clave))
        return valores->value(clave);
    const QString valor = LeerValorDeLista(clave, valores->value(kConfiguracion));
    return valor.isEmpty() ? defecto : valor;
}

void ServicioUsuarios::recordarEscrita(const QString &codigo, const FilaUsuario &escrita)
{
    memoria_->marca = tabla_.marcaCambios();
    auto &filas = memoria_->filas;
    for (auto kept = filas.begin(); kept != filas.end();) {
        const bool mismaFila =
            kept.value() && kept.value()->value(kCodigo).compare(escrita.value(kCodigo), Qt::CaseInsensitive) == 0;
        kept = mismaFila ? filas.erase(kept) : std::next(kept);
    }
    filas.insert(codigo, escrita);
}

bool ServicioUsuarios::grabarSobreLaFilaRecordada(const QString &codigo, const QString &clave, const QString &valor)
{
    const auto kept = memoria_->filas.constFind(codigo);
    if (kept == memoria_->filas.cend() || !kept.value())
        return false;
    FilaUsuario escrita = *kept.value();
    const QString columna = esClaveColumna(clave) ? clave : kConfiguracion;
    const QString anterior = escrita.value(columna);
    QString texto = anterior;
    const QString nuevo = esClaveColumna(clave) ? valor : EscribirValorEnTexto(clave, valor, texto);
    if (!tabla_.escribirSiSigue(escrita.value(kCodigo), columna, anterior, nuevo))
        return false;
    escrita.insert(columna, nuevo);
    // What was kept stays: only this write moved the count.
    recordarEscrita(codigo, escrita);
    return true;
}

void ServicioUsuarios::GrabarConfiguracionUsuario(const QString &usuario, const QString &clave, const QString &valor)
{
    comprobarCambios();
    const QString codigo = usuarioEfectivo(usuario, clave);
    if (grabarSobreLaFilaRecordada(codigo, clave, valor))
        return;
    if (!tabla_.abierta() || !tabla_.localizar(codigo) || !tabla_.editar())
        return;
    if (esClaveColumna(clave)) {
        tabla_.asignar(clave, valor);
    } else {
        // From the row as the edit read it: another run may have written other keys.
        QString configuracion = tabla_.valor(kConfiguracion);
        tabla_.asignar(kConfiguracion, EscribirValorEnTexto(clave, valor, configuracion));
    }
    if (!tabla_.grabar())
        return;
    // What was kept stays, with the row as now stored: only this write moved the count.
    recordarEscrita(codigo, filaActual());
}

bool ServicioUsuarios::enLista(const QString &usuario, const QString &columna, const QString &linea)
{
    return DividirLineas(LeerConfiguracionUsuario(usuario, columna, QString())).contains(linea);
}

bool ServicioUsuarios::UsuarioAccedeEmpresa(const QString &usuario, int empresa)
{
    const std::optional<FilaUsuario> &valores = fila(UsuarioConfiguracion(usuario));
    return valores && DividirLineas(valores->value(QStringLiteral("Empresas"))).contains(QString::number(empresa));
}

QString ServicioUsuarios::NivelAccesoPrograma(const QString &usuario, const QString &programa)
{
    const QString ruta = QString(programa).remove(u'&');
    if (enLista(usuario, QStringLiteral("ProgramasNoAccesibles"), ruta)) {
        MensajeInformacion(QStringLiteral("Vd. no tiene acceso al programa ") + ruta);
        return QStringLiteral("Ninguno");
    }
    if (enLista(usuario, QStringLiteral("ProgramasSoloLectura"), ruta))
        return QStringLiteral("Solo Lectura");
    return QStringLiteral("Total");
}

bool ServicioUsuarios::EsProgramaActivo(const QString &usuario, const QString &programa)
{
    return enLista(usuario, QStringLiteral("ProgramasActivos"), QString(programa).remove(u'&'));
}

bool ServicioUsuarios::EsAdministrador(const QString &usuario, const QString &opciones)
{
    if (const std::optional<FilaUsuario> &valores = fila(UsuarioConfiguracion(usuario));
        valores && valores->value(kCategoria) == kAdministrador)
        return true;
    if (!opciones.contains(QLatin1String("Silencio")))
        MensajeAviso(QStringLiteral(
            "¡Es necesario ser un usuario con categoría de Administrador para realizar este proceso!"));
    return false;
}

bool ServicioUsuarios::ProcesoAutorizado(const QString &usuario, const QString &proceso)
{
    if (proceso.isEmpty())
        return true;
    return !LeerConfiguracionUsuario(usuario, QStringLiteral("ProcesosNoAutorizados"), QString()).contains(proceso);
}

bool ServicioUsuarios::darDeAlta(const QString &codigo)
{
    if (!tabla_.insertar())
        return false;
    tabla_.asignar(kCodigo, codigo);
    tabla_.asignar(QStringLiteral("Nombre"), codigo);
    tabla_.asignar(kCategoria, kNormal);
    return tabla_.grabar();
}

ResultadoIdentificacion ServicioUsuarios::IdentificarUsuario(const DatosIdentificacion &datos)
{
    ResultadoIdentificacion resultado;
    QString codigo = datos.autenticacionWindows || datos.usuarioLineaComandos.isEmpty() ? datos.usuarioWindows
                                                                                        : datos.usuarioLineaComandos;
    if (!datos.autenticacionWindows) {
        codigo = MensajePedirDato(QStringLiteral("Introduzca el Código de Usuario:"), codigo);
        if (codigo.isEmpty())
            return resultado;
    } else if (tabla_.abierta() && !tabla_.localizar(codigo) && !darDeAlta(codigo)) {
        MensajeAviso(QStringLiteral("¡Imposible dar de alta el usuario!"));
    }

    if (!tabla_.abierta() || !tabla_.localizar(codigo)) {
        MensajeAviso(QStringLiteral("¡El usuario no está definido!"));
        return resultado;
    }
    codigo = tabla_.valor(kCodigo);
    resultado.camposNoVisibles = LeerConfiguracionUsuario(codigo, QStringLiteral("CamposNoVisibles"), QString());

    bool esNumero = false;
    int contador = LeerConfiguracionUsuario(codigo, kContadorAccesos, QStringLiteral("0")).trimmed().toInt(&esNumero);
    if (!esNumero)
        contador = 0;
    if (contador >= kIntentosPermitidos) {
        MensajeAviso(QStringLiteral(
            "¡Su derecho de acceso ha sido revocado!. Contacte con el administrador del sistema."));
        return resultado;
    }

    // The settings read above may have moved to the profile's row.
    const QString clave = tabla_.tieneCampo(kClaveAcceso) && tabla_.localizar(codigo) ? tabla_.valor(kClaveAcceso)
                                                                                     : QString();
    if (!clave.isEmpty() && !datos.autenticacionWindows) {
        if (MensajePedirDato(QStringLiteral("Introduzca la Clave de Acceso:"), QStringLiteral("Password")) != clave) {
            MensajeAviso(QStringLiteral("¡La Clave de Acceso es incorrecta!"));
            GrabarConfiguracionUsuario(codigo, kContadorAccesos, QString::number(contador + 1));
            return resultado;
        }
        if (contador != 0)
            GrabarConfiguracionUsuario(codigo, kContadorAccesos, QStringLiteral("0"));
    }
    resultado.identificado = true;
    resultado.codigo = codigo;
    resultado.claveAcceso = clave;
    return resultado;
}
