#include "GENEW/runtime/TraduccionExcepciones.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

namespace {

using Prueba = std::function<bool(const QString &)>;
using Traduccion = std::function<QString(const QString &)>;

struct Regla
{
    Prueba prueba;
    Traduccion traduccion;
};

Prueba igual(const char *texto)
{
    const QString t = QString::fromUtf8(texto);
    return [t](const QString &m) { return m == t; };
}

Prueba contiene(const char *texto, Qt::CaseSensitivity mayusculas = Qt::CaseSensitive)
{
    const QString t = QString::fromUtf8(texto);
    return [t, mayusculas](const QString &m) { return m.contains(t, mayusculas); };
}

Prueba contieneAlguno(std::initializer_list<const char *> textos)
{
    QStringList lista;
    for (const char *t : textos)
        lista << QString::fromUtf8(t);
    return [lista](const QString &m) {
        for (const QString &t : lista) {
            if (m.contains(t))
                return true;
        }
        return false;
    };
}

Prueba contieneAmbos(const char *uno, const char *otro)
{
    const Prueba a = contiene(uno), b = contiene(otro);
    return [a, b](const QString &m) { return a(m) && b(m); };
}

Traduccion fijo(const char *texto)
{
    const QString t = QString::fromUtf8(texto);
    return [t](const QString &) { return t; };
}

Traduccion marcadoParaTraducir()
{
    return [](const QString &m) { return QStringLiteral("TRADUCIR: ") + m; };
}

QString sentenciaIncorrecta(QString m, const char *prefijoMotor)
{
    m.replace(QString::fromUtf8(prefijoMotor), QStringLiteral("¡ La sentencia utilizada es incorrecta ! Palabra: "));
    m.replace(QStringLiteral(". Line Number: "), QStringLiteral(" en la línea número: "));
    return m;
}

// "Field 'Nombre' must have a value": the field's part sits between "Field " and the
// closing phrase, the blank before the phrase included.
QString campoObligatorio(const QString &m)
{
    const qsizetype frase = QStringLiteral("must have a value").size();
    const QString campo = m.mid(6, qMax<qsizetype>(0, m.size() - 6 - frase));
    return QStringLiteral("¡ Debe introducir un valor en el campo ") + campo + QStringLiteral(" !");
}

// An engine failure of no known kind: "General SQL error." and the driver's words on the
// lines after it, which go after "Motivo: ".
const QString kErrorGeneralMotor = QStringLiteral("General SQL error.");

QString errorGeneralMotor(const QString &m)
{
    return QStringLiteral("¡ Se ha producido un error en la Base de Datos !. Motivo: ")
        + m.mid(kErrorGeneralMotor.size()).trimmed();
}

const QList<Regla> &reglasAdvertencia()
{
    static const QList<Regla> reglas = {
        {[](const QString &m) { return m.startsWith(kErrorGeneralMotor); }, errorGeneralMotor},
        {igual("Unable to insert a line"),
         fijo("¡ La cantidad de información es excesiva !. Seleccione menos datos o segrégelos en varios bloques diferentes.")},
        {igual("Record already locked by this session"), fijo("¡ El registro esta bloqueado en esta sesion !")},
        {igual("Dataset not in edit or insert mode"), fijo("¡ Debe estar en modo edición !")},
        {igual("Cannot perform this operation on an empty dataset"),
         fijo("¡ Es imposible realizar esta operación !. La Tabla está vacía.")},
        {igual("Type mismatch in expression"), fijo("¡ La sentencia tiene un error de sintaxis !")},
        {igual("No SQL statement available"), fijo("¡ No hay ninguna sentencia SQL disponible !")},
        {contieneAlguno({"Cannot modify a read-only dataset", "Table is read only"}),
         fijo("¡Ud. no tiene autorización para realizar modificaciones!")},
        {contiene("Key violation"), fijo("¡ Ya existe el registro !")},
        {contiene("Record/Key Deleted", Qt::CaseInsensitive),
         fijo("¡Este registro ya no está disponible en la vista actual!. Para ver la nueva situación vuelva a "
              "seleccionar o filtrar los datos que desee.")},
        {contiene("Record locked by another user"), fijo("¡ El registro esta siendo bloqueado por otro usuario !")},
        {contiene("already has an active transaction"), fijo("¡ Hay una transaccion activa en la Base de Datos !")},
        {contiene("A deadlock was detected"),
         fijo("¡ El registro ha sido modificado por otro usuario !. Debe cancelar la edición, salir e intentarlo de nuevo.")},
        {contiene("is not a valid date"), fijo("¡ La fecha (u hora) introducida no es válida !. Repita por favor.")},
        {contiene("is not a valid time"), fijo("¡ La hora introducida no es válida !. Repita por favor.")},
        {contieneAlguno({"is not a valid value", "is not a valid integer value", "is not a valid floating point value"}),
         fijo("¡ El dato introducido no es válido !. Repita por favor.")},
        {contiene("No index currently active"),
         fijo("¡La tabla no está disponible. Cierre la ventana e inténtelo de nuevo.")},
        {contieneAmbos("Field", "must have a value"), campoObligatorio},
        {contiene("Invalid use of keyword"),
         [](const QString &m) { return sentenciaIncorrecta(m, "Invalid use of keyword. Token: "); }},
        {contiene("Token not found"),
         [](const QString &m) { return sentenciaIncorrecta(m, "Token not found. Token: "); }},
    };
    return reglas;
}

const QList<Regla> &reglasError()
{
    static const QList<Regla> reglas = {
        {contiene("Cannot lock network file"),
         fijo("¡ Es imposible iniciar la aplicación en este momento!. Inténtelo de nuevo.")},
        {igual("Cannot perform this operation on a closed dataset"),
         fijo("¡ Es imposible realizar esta operación !. La Tabla está cerrada.")},
        {contiene("Table does not exist"), fijo("¡ La tabla no existe !. Compruebe la Base de Datos por favor.")},
        {contiene("Path not found"), fijo("¡ La dirección (path) de la Base de Datos es incorrecta !")},
        {contieneAmbos("Field", "is not of the expected type"), marcadoParaTraducir()},
        {contiene("At beginning of table"), fijo("Al principio de la tabla.")},
        {contiene("Some internal limit"),
         fijo("¡Se ha producido un error de límite interno!. Cierre alguna aplicación e inténtelo de nuevo.")},
        {contiene("Access violation"),
         fijo("¡Se ha producido un error indeterminado en el sistema!. En estas condiciones es recomendable "
              "reiniciar la computadora.")},
        {contiene("Index is out of date"), marcadoParaTraducir()},
        {igual("No index currently active"), fijo("No hay un índice activo en la tabla")},
    };
    return reglas;
}

const QList<Prueba> &pruebasIgnorar()
{
    static const QList<Prueba> pruebas = {
        igual("Cannot focus a disabled or invisible window"),
        igual("Error creating cursor handle"),
        contiene("Table is busy"),
        contiene("Cursor unknown"),
        contiene("'0.0' is not a valid"),
    };
    return pruebas;
}

// The warning of a failure known by its kind; empty for the others.
QString avisoDeTipo(gp::DatabaseErrorKind tipo, const QString &mensaje)
{
    switch (tipo) {
    case gp::DatabaseErrorKind::RecordChanged:
        return QStringLiteral("¡ El registro ha sido modificado por otro usuario !. Debe cancelar la edición, salir e "
                              "intentarlo de nuevo.");
    case gp::DatabaseErrorKind::ConnectionLost:
        return QStringLiteral("¡ No es posible conectar con el servidor de la Base de Datos !. Motivo: ") + mensaje;
    default:
        return {};
    }
}

// The Spanish message of a failure's kind; empty for a failure of no known kind.
QString mensajeDeTipo(gp::DatabaseErrorKind tipo, const QString &mensaje)
{
    using K = gp::DatabaseErrorKind;
    switch (tipo) {
    case K::MissingTable: return QStringLiteral("¡ La tabla no existe !");
    case K::MissingPath: return QStringLiteral("¡ La dirección (path) de la Base de Datos es incorrecta !");
    case K::KeyViolation: return QStringLiteral("¡ Ya existe el registro !");
    case K::RecordLocked: return QStringLiteral("¡ El registro esta siendo bloqueado por otro usuario !");
    case K::RecordDeleted: return QStringLiteral("¡Este registro ya no está disponible en la vista actual!");
    case K::RecordChanged: return QStringLiteral("¡ El registro ha sido modificado por otro usuario !");
    case K::ReadOnly: return QStringLiteral("¡Ud. no tiene autorización para realizar modificaciones!");
    case K::RequiredField: return campoObligatorio(mensaje);
    case K::UnknownUser: return QStringLiteral("¡ El usuario o la contraseña no son válidos !");
    case K::ConnectionLost: return QStringLiteral("¡ No es posible conectar con el servidor de la Base de Datos !");
    case K::Other: break;
    }
    return {};
}

// Every matching rule replaces the text: the last match wins.
QString aplicar(const QList<Regla> &reglas, const QString &mensaje, QString texto)
{
    for (const Regla &r : reglas) {
        if (r.prueba(mensaje))
            texto = r.traduccion(mensaje);
    }
    return texto;
}

} // namespace

QString TraduccionExcepcion::tipoMensaje() const
{
    switch (clase) {
    case Clase::Advertencia:
        return QStringLiteral("A");
    case Clase::Error:
        return QStringLiteral("E");
    case Clase::Ignorar:
    case Clase::AvisoDelSistema:
        break;
    }
    return QString();
}

TraduccionExcepcion TraducirExcepcion(const QString &mensaje, bool remitenteEsRejilla,
                                      const QString &nivelCapturaIncidencias, gp::DatabaseErrorKind tipo)
{
    using Clase = TraduccionExcepcion::Clase;
    TraduccionExcepcion t;
    if (const QString aviso = avisoDeTipo(tipo, mensaje); !aviso.isEmpty()) {
        t.clase = Clase::Advertencia;
        t.texto = aviso;
        t.registrarTraza = nivelCapturaIncidencias == QLatin1String("Maximo");
        return t;
    }
    if (mensaje.contains(QLatin1String("Invalid BLOB handle in record buffer"))) {
        t.clase = Clase::AvisoDelSistema;
        t.texto = QStringLiteral("¡El número de campos Memo que se intenta manejar es excesivo!. Acote la consulta.");
        t.cerrarFormularioDelRemitente = remitenteEsRejilla;
        return t;
    }

    std::optional<Clase> clase;
    QString texto = aplicar(reglasAdvertencia(), mensaje, QString());
    if (!texto.isEmpty())
        clase = Clase::Advertencia;
    texto = aplicar(reglasError(), mensaje, texto);
    if (!texto.isEmpty() && !clase)
        clase = Clase::Error;
    for (const Prueba &ignorar : pruebasIgnorar()) {
        if (ignorar(mensaje)) {
            clase = Clase::Ignorar;
            texto.clear();
        }
    }
    if (!clase) {
        clase = Clase::Advertencia;
        texto = mensaje;
    }
    t.clase = *clase;
    t.texto = texto;
    t.registrarTraza = t.clase == Clase::Error || nivelCapturaIncidencias == QLatin1String("Maximo");
    return t;
}

QString MotivoFallo(const gp::Fallo &fallo)
{
    const QString tipo = mensajeDeTipo(fallo.tipo, fallo.mensaje);
    const QString palabras = fallo.motivo.isEmpty() && tipo.isEmpty() ? fallo.mensaje : fallo.motivo;
    if (tipo.isEmpty() || palabras.isEmpty())
        return tipo.isEmpty() ? palabras : tipo;
    return tipo + u' ' + palabras;
}

QString TraducirTextoMarcado(const QString &texto)
{
    if (!texto.contains(QLatin1String("TRADUCIR:")))
        return texto;
    QString t = texto.mid(10);
    t.replace(QStringLiteral("Index is out of date"), QStringLiteral("El índice no está actualizado."));
    t.replace(QStringLiteral("At beginning of table"), QStringLiteral("Al principio de la tabla."));
    if (t.contains(QLatin1String("Field")) && t.contains(QLatin1String("not found"))) {
        t.replace(QStringLiteral("Field"), QStringLiteral("El campo"));
        t.replace(QStringLiteral("not found"), QStringLiteral("no está definido."));
    }
    if (t.contains(QLatin1String("Field")) && t.contains(QLatin1String("is not of the expected type"))) {
        t.replace(QStringLiteral("Field"), QStringLiteral("El campo"));
        t.replace(QStringLiteral("is not of the expected type"), QStringLiteral("no es del tipo adecuado."));
    }
    if (t.contains(QLatin1String("Some internal limit")))
        t = QStringLiteral("¡Se ha producido un error de límite interno!. Cierre alguna aplicación e inténtelo de nuevo.");
    return t;
}
