#include "GENEW/runtime/ClaveSQLServer.h"

#include "GENEW/runtime/EscrituraKorvel.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"

ResultadoConexionConClave ConectarPidiendoClave(const std::function<void(const QString &password)> &conectar,
                                                QString &password, const QString &archivoConfiguracion)
{
    ResultadoConexionConClave resultado;
    for (;;) {
        const gp::Fallo fallo = gp::capturarFallo([&] { conectar(password); });
        if (!fallo) {
            resultado.conectado = true;
            return resultado;
        }
        if (fallo.tipo != gp::DatabaseErrorKind::UnknownUser) {
            resultado.fallo = fallo;
            return resultado;
        }
        const QString anterior = password;
        password.clear();
        // "Password" as the proposed answer makes the message window mask what is typed.
        const QString respuesta = MensajePedirDato(
            QStringLiteral("La clave de inicio de sesión de SQL Server no coincide con la registrada. "
                           "Puede introducirla ahora si lo desea: "),
            QStringLiteral("Password"));
        if (respuesta.isEmpty()
            && MensajeConfirmacion(QStringLiteral("¿Está seguro de que desea dejar la contraseña en blanco?"))
                   == QLatin1String("NO")) {
            password = anterior;   // the same attempt again
            continue;
        }
        password = respuesta;
        GuardarPasswordInicioSesion(archivoConfiguracion, password);
    }
}
