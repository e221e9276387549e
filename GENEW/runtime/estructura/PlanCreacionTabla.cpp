#include "GENEW/runtime/estructura/PlanCreacionTabla.h"

#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"
#include "GENEW/runtime/comun/RutinasTipos.h"

namespace estructura {

namespace {

QString FechaCeroCitada(const QString &formatoFechaSQL)
{
    return formatoFechaSQL == u"dd/mm/yyyy" ? QStringLiteral("'30/12/1899 00:00:00'")
                                            : QStringLiteral("'12/30/1899 00:00:00'");
}

QString TextoTipo(const QString &nombre, const LineaCampo &campo, const OpcionesSentencias &opciones)
{
    switch (TipoCampoDeNombre(campo.tipo)) {
    case ftString:
        if (campo.tamano.compare(u"MAX", Qt::CaseInsensitive) == 0
            && opciones.versionSQLServer.contains(u"Microsoft SQL Server  2000"))
            return QStringLiteral(" TEXT ");
        return QStringLiteral(" VARCHAR(") + campo.tamano + QStringLiteral(") DEFAULT ''");
    case ftSmallint:
        return QStringLiteral(" SMALLINT DEFAULT 0");
    case ftInteger:
        return QStringLiteral(" INTEGER DEFAULT 0");
    case ftAutoInc:
        return QStringLiteral(" INTEGER IDENTITY(1,1)");
    case ftDateTime:
        return (opciones.dialecto == DialectoSQL::SQLServer ? QStringLiteral(" DATETIME DEFAULT ")
                                                            : QStringLiteral(" TIMESTAMP DEFAULT "))
               + FechaCeroCitada(opciones.formatoFechaSQL);
    case ftFloat: {
        const bool doceDecimales = nombre == u"Cambio" || nombre.contains(u"Factor");
        return (doceDecimales ? QStringLiteral(" DECIMAL(28,12)") : QStringLiteral(" DECIMAL(28,8)"))
               + QStringLiteral(" DEFAULT 0");
    }
    case ftMemo:
        return QStringLiteral(" TEXT ");
    case ftBlob:
    case ftGraphic:
        return QStringLiteral(" IMAGE");
    default:
        return {};
    }
}

QString CamposIndiceSQL(const QString &campos, DialectoSQL dialecto)
{
    QStringList nombres = campos.split(u';');
    for (QString &nombre : nombres)
        nombre = NombreCampoSQL(nombre, dialecto);
    return nombres.join(u',');
}

} // namespace

namespace {

QStringList LineasDelBloque(const QString &tabla, const QStringList &bloque,
                            const QList<FilaCampoUsuario> &camposUsuario)
{
    QStringList aConstruir;
    for (const QString &linea : bloque) {
        if (ClaseDeLinea(linea) == kClaseCampo)
            aConstruir << linea;
    }
    int numero = 1000;
    for (const FilaCampoUsuario &fila : camposUsuario) {
        const QString tipo = TipoDeCampoUsuario(fila.TipoCampo);
        if (tipo.isEmpty())
            continue;
        aConstruir << tabla + QStringLiteral("/C/") + QString::number(numero++) + u'/' + fila.NombreCampo + u'/'
                          + tipo + u'/' + fila.LongitudCampo + QStringLiteral("/NO");
    }
    for (const QString &linea : bloque) {
        if (ClaseDeLinea(linea) == kClaseIndice)
            aConstruir << linea;
    }
    return aConstruir;
}

} // namespace

QStringList LineasAConstruir(const QString &tabla, const QString &texto, bool temporal,
                             const QList<FilaCampoUsuario> &camposUsuario)
{
    const QStringList lineas = DividirLineas(texto);
    return LineasDelBloque(tabla, temporal ? lineas : PrimerBloque(tabla, lineas, Qt::CaseInsensitive), camposUsuario);
}

TextoDividido::TextoDividido(const QString &texto) : lineas_(DividirLineas(texto))
{
    // A block is a run of non-empty lines of one table (names compared ignoring case); only
    // the first run of each table counts.
    QString actual;
    qsizetype inicio = -1;
    for (qsizetype i = 0; i <= lineas_.size(); ++i) {
        const bool corte = i == lineas_.size() || lineas_[i].isEmpty();
        const QString clave = corte ? QString() : TablaDeLinea(lineas_[i]).toCaseFolded();
        if (inicio >= 0 && (corte || clave != actual)) {
            if (!bloques_.contains(actual))
                bloques_.insert(actual, {inicio, i});
            inicio = -1;
        }
        if (!corte && inicio < 0) {
            inicio = i;
            actual = clave;
        }
    }
}

QStringList TextoDividido::primerBloque(const QString &tabla) const
{
    const auto bloque = bloques_.constFind(tabla.toCaseFolded());
    if (bloque == bloques_.constEnd())
        return {};
    return lineas_.mid(bloque->first, bloque->second - bloque->first);
}

QStringList LineasAConstruir(const QString &tabla, const TextoDividido &texto, bool temporal,
                             const QList<FilaCampoUsuario> &camposUsuario)
{
    return LineasDelBloque(tabla, temporal ? texto.lineas() : texto.primerBloque(tabla), camposUsuario);
}

QString NombreCampoSQL(const QString &nombre, DialectoSQL dialecto)
{
    if (dialecto != DialectoSQL::SQLServer)
        return nombre;
    QString resultado = nombre;
    if (resultado.contains(u'ñ'))
        return resultado.replace(u'ñ', u'_');
    return resultado.remove(u'-');
}

QString TextoColumna(const QString &linea, const OpcionesSentencias &opciones)
{
    const LineaCampo campo = LeerLineaCampo(linea);
    return NombreCampoSQL(campo.nombre, opciones.dialecto) + TextoTipo(campo.nombre, campo, opciones);
}

SentenciasCreacion SentenciasCrearTabla(const QString &tabla, const QStringList &lineas,
                                        const OpcionesSentencias &opciones)
{
    SentenciasCreacion sentencias;
    QString columnas;
    QString claves;
    for (const QString &linea : lineas) {
        if (ClaseDeLinea(linea) != kClaseCampo)
            continue;
        columnas += TextoColumna(linea, opciones);
        if (LeerLineaCampo(linea).clave) {
            columnas += QStringLiteral(", ");
            claves += NombreCampoSQL(Pieza(linea, 3), opciones.dialecto) + QStringLiteral(", ");
        } else {
            columnas += QStringLiteral(" NULL, ");
        }
    }

    if (!columnas.isEmpty()) {
        QString sentencia = (opciones.dialecto == DialectoSQL::SQLServer ? QStringLiteral("CREATE TABLE dbo.")
                                                                         : QStringLiteral("CREATE TABLE "))
                            + tabla + QStringLiteral(" (") + columnas;
        if (claves.isEmpty())
            sentencia += u')';
        else
            sentencia += QStringLiteral("CONSTRAINT ") + tabla + QStringLiteral("_Clave1 PRIMARY KEY (") + claves
                         + QStringLiteral("))");
        if (opciones.dialecto == DialectoSQL::SQLServer && opciones.temporal)
            sentencia.remove(QStringLiteral("dbo."));
        sentencias.crearTabla = sentencia.replace(QStringLiteral(", )"), QStringLiteral(")"));
    }

    for (const QString &linea : lineas) {
        if (ClaseDeLinea(linea) != kClaseIndice)
            continue;
        const LineaIndice indice = LeerLineaIndice(linea);
        if (indice.nombre == kIndicePrimario)
            continue;
        sentencias.crearIndices << QStringLiteral("CREATE INDEX ") + tabla + u'_'
                                       + NombreCampoSQL(indice.nombre, opciones.dialecto) + QStringLiteral(" ON ")
                                       + tabla + QStringLiteral(" (")
                                       + CamposIndiceSQL(indice.campos, opciones.dialecto) + QStringLiteral(") ");
    }
    return sentencias;
}

DefinicionesTabla DefinicionesCrearTabla(const QString &tabla, const QStringList &lineas,
                                         const std::function<QString(const QString &, const QString &)> &nombreIndice)
{
    DefinicionesTabla definiciones;
    for (const QString &linea : lineas) {
        if (ClaseDeLinea(linea) == kClaseCampo) {
            const LineaCampo campo = LeerLineaCampo(linea);
            DefinicionCampo definicion;
            definicion.nombre = campo.nombre;
            definicion.tipo = TipoCampoDeNombre(campo.tipo);
            bool leido = false;
            const int tamano = campo.tamano.toInt(&leido);
            definicion.tamano = leido ? tamano : 0;
            definicion.clave = campo.clave;
            definiciones.campos << definicion;
        } else if (ClaseDeLinea(linea) == kClaseIndice) {
            const LineaIndice indice = LeerLineaIndice(linea);
            DefinicionIndice definicion;
            definicion.nombre = nombreIndice ? nombreIndice(tabla, indice.nombre) : indice.nombre;
            definicion.campos = indice.campos;
            definicion.primario = definicion.unico = indice.nombre == kIndicePrimario;
            definicion.sinMayusculas = !definicion.primario;
            definicion.descendente = indice.descendente;
            definiciones.indices << definicion;
        }
    }
    return definiciones;
}

} // namespace estructura
