// TModuloDatos: translation through TXIDIOMA.
#include "GENEW/data/modulo/Genemodu.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/data/servicios/traduccion/PatronTraduccion.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Dialect.h"

namespace {

const QString kClaveTexto = QStringLiteral("ClaveTexto");

// TXIDIOMA on the program's general database. SQL Server compares through the collation
// clause the look-ups end with; the other engines through the dialect's folding comparison.
class FuenteTraduccionesModulo : public FuenteTraducciones
{
public:
    explicit FuenteTraduccionesModulo(TModuloDatos &modulo) : modulo_(modulo) {}

    bool conectada() const override { return fGENEINIC && fGENEINIC->DatabaseGeneral().connected(); }
    QString idiomaUsuario() const override { return fGENEINIC ? fGENEINIC->CodigoIdioma : QString(); }
    QString consultar(const QString &sql) override
    {
        // Silently: a failure shown as a message would be translated in turn.
        return modulo_.EjecutarSQL(sql, QStringLiteral("DatabaseGeneral"), OpcionSQL::Silenciosa);
    }
    QString compararClave(const QString &op, const QString &literal) const override
    {
        if (modulo_.nombresMotor().esSQLServer())
            return kClaveTexto + u' ' + op + u' ' + literal;
        return fGENEINIC->DatabaseGeneral().dialect().foldedCompare(kClaveTexto, op, literal);
    }
    QString clausulaIntercalacion() const override
    {
        const QString &intercalacion = fGENEINIC->Conexiones().IntercalacionTXIDIOMA;
        if (!modulo_.nombresMotor().esSQLServer() || intercalacion.isEmpty())
            return QString();
        return QStringLiteral(" COLLATE ") + QString(intercalacion).replace(QLatin1String("_AS"), QLatin1String("_AI"));
    }

private:
    TModuloDatos &modulo_;
};

} // namespace

ServicioTraduccion &TModuloDatos::traduccion()
{
    if (!traduccion_) {
        fuenteTraducciones_ = std::make_unique<FuenteTraduccionesModulo>(*this);
        traduccion_ = std::make_unique<ServicioTraduccion>(*fuenteTraducciones_, CacheTraducciones::instancia());
    }
    return *traduccion_;
}

QString TModuloDatos::Traducir(const QString &texto) { return traduccion().Traducir(texto); }

QString TModuloDatos::TraducirTexto(const QString &texto, const QString &variables, const QString &idioma)
{
    return traduccion().TraducirTexto(texto, variables, idioma);
}

QString TModuloDatos::TraducirClave(const QString &texto) { return traduccion().TraducirClave(texto); }
QString TModuloDatos::TraducirPatron(const QString &texto) { return traduccion().TraducirPatron(texto); }
QString TModuloDatos::TraducirLista(const QString &lista) { return traduccion().TraducirLista(lista); }

QString TModuloDatos::MarcarSeparador(const QString &texto, const QString &separador, const QString &modo) const
{
    return ::MarcarSeparador(texto, separador, modo);
}
