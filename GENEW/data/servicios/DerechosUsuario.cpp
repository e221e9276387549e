#include "GENEW/data/servicios/DerechosUsuario.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

bool EsCampoNoVisible(const QString &camposNoVisibles, const QString &campo)
{
    if (camposNoVisibles.isEmpty())
        return false;
    const QStringList elementos = camposNoVisibles.split(u',', Qt::SkipEmptyParts);
    for (const QString &elemento : elementos)
        if (elemento.startsWith(u'-') && elemento.mid(1).compare(campo, Qt::CaseInsensitive) == 0)
            return false;
    for (const QString &elemento : elementos)
        if (campo.contains(elemento, Qt::CaseInsensitive))
            return true;
    return false;
}

bool UsuarioEnListaAutorizados(const QString &usuariosAutorizados, const QString &usuario)
{
    if (usuariosAutorizados.trimmed().isEmpty())
        return true;
    for (const QString &elemento : usuariosAutorizados.split(u','))
        if (elemento.trimmed() == usuario)
            return true;
    return false;
}

int IndiceBusquedaDeTabla(const QString &indicesBusqueda, const QString &tablaSQL)
{
    const QString lineas = QString(indicesBusqueda).replace(u':', u'=').replace(u',', QStringLiteral("\r\n"));
    bool esNumero = false;
    const int indice = LeerValorDeLista(tablaSQL, lineas).trimmed().toInt(&esNumero);
    return esNumero ? indice : -1;
}

const QStringList &ClavesSMTP()
{
    static const QStringList claves{QStringLiteral("ClienteSMTP"),
                                    QStringLiteral("ServidorSMTP"),
                                    QStringLiteral("CodigoUsuarioSMTP"),
                                    QStringLiteral("ClaveAccesoSMTP"),
                                    QStringLiteral("PuertoSSL"),
                                    QStringLiteral("CuentaSMTPCopiasDocumentos"),
                                    QStringLiteral("CuentaFromSMTP")};
    return claves;
}

QString TextoConfiguracionSMTP(bool masivo, const std::function<QString(const QString &clave)> &valorUsuario,
                               const QString &cfgCorreoElectronico)
{
    const QString sufijo = masivo ? QStringLiteral("(Masivo)") : QString();
    QStringList valores;
    bool delUsuario = false;
    for (const QString &clave : ClavesSMTP()) {
        valores << valorUsuario(clave + sufijo);
        delUsuario = delUsuario || !valores.last().isEmpty();
    }
    QStringList lineas;
    for (qsizetype i = 0; i < ClavesSMTP().size(); ++i) {
        const QString nombre = ClavesSMTP().at(i) + sufijo;
        lineas << nombre + u'=' + (delUsuario ? valores.at(i) : LeerValorDeLista(nombre, cfgCorreoElectronico));
    }
    return lineas.join(QStringLiteral("\r\n"));
}
