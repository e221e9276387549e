#include "GENEW/data/servicios/ListaConsultas.h"

#include "GENEW/data/servicios/DerechosUsuario.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

namespace {

bool esElementoDeLista(const QString &lista, const QString &valor)
{
    for (const QString &elemento : lista.split(u','))
        if (elemento.trimmed() == valor)
            return true;
    return false;
}

} // namespace

QString NombreTablaDeTipoConsulta(const QString &tipo)
{
    return tipo == QLatin1String("ConsultasSQL") ? QStringLiteral("SQL") : tipo;
}

QString ListaElementosAutorizados(const QList<ElementoAlmacenado> &elementos, const QString &usuario,
                                  const QString &usuarioConfiguracion, const QString &aplicacion)
{
    const bool todos = usuario.isEmpty() && aplicacion.isEmpty();
    QString lista;
    for (const ElementoAlmacenado &e : elementos) {
        if (!todos) {
            const QString contenedoras = LeerValorDeLista(QStringLiteral("AplicacionesContenedoras"), e.instrucciones);
            if (contenedoras.trimmed().isEmpty() || !esElementoDeLista(contenedoras, aplicacion))
                continue;
            if (!UsuarioEnListaAutorizados(LeerValorDeLista(QStringLiteral("UsuariosAutorizados"), e.instrucciones),
                                           usuarioConfiguracion))
                continue;
        }
        lista += e.descripcion + QStringLiteral("\r\n");
    }
    return lista;
}
