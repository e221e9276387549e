// TModuloDatos: users, rights, per-user settings and logs.
#include "GENEW/data/modulo/Genemodu.h"

#include "GENEW/data/servicios/DerechosUsuario.h"
#include "GENEW/data/servicios/RegistroActividad.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/Plataforma.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Dialect.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menus.h"

namespace {

// USUARIO through the module's `Usuario` table.
class TablaUsuariosModulo : public TablaUsuarios
{
public:
    explicit TablaUsuariosModulo(plat::TableDataSet &tabla) : tabla_(tabla) {}

    bool abierta() const override { return tabla_.active(); }
    bool localizar(const QString &codigo) override
    {
        try {
            return tabla_.locate(QStringLiteral("Codigo"), codigo);
        } catch (const gp::Error &) {
            return false;
        }
    }
    bool tieneCampo(const QString &campo) const override { return tabla_.findField(campo) != nullptr; }
    QString valor(const QString &campo) const override
    {
        const plat::Field *f = tabla_.findField(campo);
        return f ? f->asString() : QString();
    }
    bool editar() override
    {
        try {
            tabla_.edit();
            return true;
        } catch (const gp::Error &) {
            return false;
        }
    }
    void asignar(const QString &campo, const QString &valor) override
    {
        if (plat::Field *f = tabla_.findField(campo))
            f->setAsString(valor);
    }
    bool escribirSiSigue(const QString &codigo, const QString &campo, const QString &anterior,
                         const QString &valor) override
    {
        plat::Connection *conexion = tabla_.connection();
        const plat::Field *f = tabla_.findField(campo);
        if (!tabla_.active() || !conexion || !f)
            return false;
        try {
            QString sigue = conexion->dialect().sameValueCondition(campo, f->dataType(), QStringLiteral(":anterior"));
            if (sigue.isEmpty())
                return false;
            // An empty text is read from NULL too.
            if (anterior.isEmpty())
                sigue = QStringLiteral("(%1 IS NULL OR %2)").arg(campo, sigue);
            const QString sql = QStringLiteral("UPDATE %1 SET %2 = :valor WHERE Codigo = :codigo AND %3")
                                    .arg(tabla_.tableName(), campo, sigue);
            return conexion->exec(sql, {{QStringLiteral("valor"), valor}, {QStringLiteral("codigo"), codigo},
                                        {QStringLiteral("anterior"), anterior}})
                == 1;
        } catch (const gp::Error &) {
            return false;
        }
    }
    bool grabar() override
    {
        try {
            tabla_.post();
            return true;
        } catch (const gp::Error &) {
            if (tabla_.active() && tabla_.state() != plat::DataSetState::Browse)
                tabla_.cancel();
            return false;
        }
    }
    bool insertar() override
    {
        try {
            tabla_.append();
            return true;
        } catch (const gp::Error &) {
            return false;
        }
    }
    QString marcaCambios() const override
    {
        plat::Connection *conexion = tabla_.connection();
        if (!tabla_.active() || !conexion)
            return QString();
        return conexion->databaseKey() + u'#' + QString::number(conexion->changeStamp(tabla_.tableName()));
    }

private:
    plat::TableDataSet &tabla_;
};

const ParametrosKorvel &parametros() { return fGENEINIC->Configuracion.parametros; }

} // namespace

ServicioUsuarios &TModuloDatos::usuarios()
{
    if (!usuarios_) {
        tablaUsuarios_ = std::make_unique<TablaUsuariosModulo>(Usuario->table());
        // The users' settings are the session's: a module made again for another company
        // finds them kept.
        static const auto memoriaSesion = std::make_shared<MemoriaUsuarios>();
        usuarios_ = std::make_unique<ServicioUsuarios>(
            *tablaUsuarios_, [this](const QString &sql) { return EjecutarSQL(sql, QStringLiteral("DatabaseGeneral")); },
            memoriaSesion);
    }
    return *usuarios_;
}

bool TModuloDatos::IdentificarUsuario(QString &codigo)
{
    const DatosIdentificacion datos{parametros().AutenticacionWindows,
                                    fGENEINIC->Configuracion.lineaComandos.usuario, ObtenerUsuarioWindows()};
    const ResultadoIdentificacion resultado = usuarios().IdentificarUsuario(datos);
    fGENEINIC->CamposNoVisibles = resultado.camposNoVisibles;
    if (!resultado.identificado)
        return false;
    codigo = resultado.codigo;
    fGENEINIC->UsuarioActual = codigo;
    fGENEINIC->Conexiones().UsuarioActual = codigo;
    fGENEINIC->ClaveAccesoActual = resultado.claveAcceso;
    return true;
}

QString TModuloDatos::UsuarioConfiguracion(const QString &usuario) { return usuarios().UsuarioConfiguracion(usuario); }

QString TModuloDatos::LeerConfiguracionUsuario(const QString &usuario, const QString &clave, const QString &defecto)
{
    return usuarios().LeerConfiguracionUsuario(usuario, clave, defecto);
}

void TModuloDatos::GrabarConfiguracionUsuario(const QString &usuario, const QString &clave, const QString &valor)
{
    usuarios().GrabarConfiguracionUsuario(usuario, clave, valor);
}

bool TModuloDatos::UsuarioAccedeEmpresa(const QString &usuario, int empresa)
{
    return usuarios().UsuarioAccedeEmpresa(usuario, empresa);
}

QString TModuloDatos::NivelAccesoPrograma(const QString &usuario, const QString &programa)
{
    return usuarios().NivelAccesoPrograma(usuario, programa);
}

bool TModuloDatos::EsProgramaActivo(const QString &usuario, const QString &programa)
{
    return usuarios().EsProgramaActivo(usuario, programa);
}

bool TModuloDatos::EsAdministrador(const QString &usuario, const QString &opciones)
{
    return usuarios().EsAdministrador(usuario, opciones);
}

bool TModuloDatos::EsCampoNoVisible(const QString &campo) const
{
    return ::EsCampoNoVisible(fGENEINIC->CamposNoVisibles, campo);
}

bool TModuloDatos::ProcesoAutorizado(const QString &usuario, const QString &proceso)
{
    return usuarios().ProcesoAutorizado(usuario, proceso);
}

bool TModuloDatos::ConsultaAutorizada(const QString &descripcion, const QString &usuario)
{
    if (EsAdministrador(usuario, QStringLiteral("Silencio")))
        return true;
    plat::QueryDataSet consulta(QStringLiteral("ConsultaAutorizada"));
    consulta.setSql(QStringLiteral("SELECT Instrucciones FROM FILTRO   WHERE NombreTabla = 'SQL'    AND Descripcion = ")
                    + Entrecomillar(descripcion));
    // A question that could not be answered authorises nobody.
    if (!AbrirConsultaADO(consulta))
        return false;
    const QString instrucciones =
        consulta.isEmpty() ? QString() : consulta.fieldByName(QStringLiteral("Instrucciones")).asString();
    return UsuarioEnListaAutorizados(LeerValorDeLista(QStringLiteral("UsuariosAutorizados"), instrucciones),
                                     UsuarioConfiguracion(usuario));
}

int TModuloDatos::IndiceBusquedaUsuario(const QString &tabla)
{
    if (parametros().DesactivarIndicesPorUsuarioEnBusquedas)
        return -1;
    return IndiceBusquedaDeTabla(LeerConfiguracionUsuario(fGENEINIC->UsuarioActual, QStringLiteral("IndicesBusqueda")),
                                 NombreTablaSQL(tabla));
}

QString TModuloDatos::RutaMenu(const QObject *elemento) const
{
    const auto *item = qobject_cast<const plat::MenuItem *>(elemento);
    if (!item)
        return QString();
    // The menu-bar entry (the one whose parent has no caption) is not part of the path.
    const auto esEntradaBarra = [](const plat::MenuItem *m) {
        return !m->parentItem() || m->parentItem()->caption().isEmpty();
    };
    QString ruta = item->caption();
    for (const plat::MenuItem *m = item; !esEntradaBarra(m) && !esEntradaBarra(m->parentItem()); m = m->parentItem())
        ruta = m->parentItem()->caption() + u' ' + ruta;
    return ruta;
}

void TModuloDatos::RegistrarAccesoFormulario(const plat::Form *formulario, const QString &accion)
{
    if (!formulario || !parametros().MonitorizarActividadUsuario)
        return;
    QString equipo, direccion, error;
    if (ObtenerDireccionIP(equipo, direccion, error))
        equipo += u'/' + direccion;
    else
        equipo = error;
    DiarioAccesos(fGENEINIC->Configuracion.directorioTrabajo + ObtenerUsuarioWindows() + QStringLiteral(".log"))
        .registrar(AccesoFormulario{Ahora(), accion, formulario->objectName(), formulario->caption(), equipo});
}

QString TModuloDatos::ConfiguracionSMTP(const QString &opciones)
{
    const plat::TableDataSet &parametrosGenerales = ParamGenerales->table();
    const plat::Field *memo = parametrosGenerales.active() && !parametrosGenerales.isEmpty()
        ? parametrosGenerales.findField(QStringLiteral("CfgCorreoElectronico"))
        : nullptr;
    return TextoConfiguracionSMTP(
        opciones.contains(QLatin1String("Masivo")),
        [this](const QString &clave) { return LeerConfiguracionUsuario(fGENEINIC->UsuarioActual, clave); },
        memo ? memo->asString() : QString());
}

void TModuloDatos::TrazaDepuracion(const QString &texto)
{
    const QString &fichero = fGENEINIC->ArchivoTraza();
    if (fichero.isEmpty())
        return;
    AnotarTraza(fGENEINIC->TrazaDepuracion, fichero, LineaTraza(fGENEINIC->UsuarioActual, Ahora(), texto));
}

void TModuloDatos::RegistrarTrazaError(const QString &mensaje, QObject *remitente)
{
    const QString origen = remitente && !remitente->objectName().isEmpty() ? remitente->objectName() + QStringLiteral(": ")
                                                                            : QString();
    TrazaDepuracion(origen + mensaje);
}
