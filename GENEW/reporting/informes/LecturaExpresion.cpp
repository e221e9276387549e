#include "GENEW/reporting/informes/LecturaExpresion.h"

#include "GENEW/runtime/comun/Errores.h"

namespace {

class Lector
{
public:
    explicit Lector(const QString &texto) : texto_(texto) {}

    ExpresionLeida leer()
    {
        ExpresionLeida resultado;
        saltarBlancos();
        const int inicio = pos_;
        if (leerPalabra(QStringLiteral("Sum")) && (saltarBlancos(), aceptar('('))) {
            resultado.tipo = ExpresionLeida::Tipo::Suma;
            resultado.campos << leerNombre();
            saltarBlancos();
            if (!aceptar(')'))
                fallar();
        } else {
            pos_ = inicio;
            resultado.campos << leerNombre();
            for (saltarBlancos(); aceptar('+'); saltarBlancos())
                resultado.campos << leerNombre();
        }
        saltarBlancos();
        if (pos_ != texto_.size())
            fallar();
        return resultado;
    }

private:
    [[noreturn]] void fallar() const
    {
        throw gp::Error(QStringLiteral("Expresión no válida en el informe: \"%1\"").arg(texto_));
    }

    void saltarBlancos()
    {
        while (pos_ < texto_.size() && texto_.at(pos_).isSpace())
            ++pos_;
    }

    bool aceptar(QChar c)
    {
        if (pos_ < texto_.size() && texto_.at(pos_) == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    static bool letraDeNombre(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

    bool leerPalabra(const QString &palabra)
    {
        if (texto_.mid(pos_, palabra.size()).compare(palabra, Qt::CaseInsensitive) != 0)
            return false;
        const int fin = pos_ + int(palabra.size());
        if (fin < texto_.size() && letraDeNombre(texto_.at(fin)))
            return false;
        pos_ = fin;
        return true;
    }

    QString leerNombre()
    {
        saltarBlancos();
        const int inicio = pos_;
        if (aceptar(u'\'')) {
            const int cierre = int(texto_.indexOf(u'\'', pos_));
            if (cierre <= pos_)
                fallar();
            pos_ = cierre + 1;
            return texto_.mid(inicio + 1, cierre - inicio - 1);
        }
        while (pos_ < texto_.size() && letraDeNombre(texto_.at(pos_)))
            ++pos_;
        if (pos_ == inicio)
            fallar();
        return texto_.mid(inicio, pos_ - inicio);
    }

    const QString &texto_;
    int pos_ = 0;
};

} // namespace

ExpresionLeida leerExpresionInforme(const QString &texto)
{
    return Lector(texto).leer();
}
