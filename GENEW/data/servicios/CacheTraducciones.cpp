#include "GENEW/data/servicios/CacheTraducciones.h"

CacheTraducciones &CacheTraducciones::instancia()
{
    static CacheTraducciones cache;
    return cache;
}

QStringList CacheTraducciones::finales(const QString &linea)
{
    QStringList textos;
    for (qsizetype i = linea.indexOf(u'='); i >= 0; i = linea.indexOf(u'=', i + 1))
        textos << linea.mid(i + 1);
    return textos;
}

std::optional<QString> CacheTraducciones::valor(const QString &nombre) const
{
    const auto it = porNombre_.constFind(nombre);
    if (it == porNombre_.cend() || it->empty())
        return std::nullopt;
    const QString &linea = lineas_.at(std::size_t(it->front() - primera_));
    return linea.mid(linea.indexOf(u'=') + 1);
}

bool CacheTraducciones::esTraduccion(const QString &texto) const { return finales_.contains(texto); }

void CacheTraducciones::anadir(const QString &clave, const QString &traduccion)
{
    const QString linea = clave + u'=' + traduccion;
    const qint64 numero = primera_ + qint64(lineas_.size());
    lineas_.push_back(linea);
    porNombre_[linea.left(linea.indexOf(u'='))].push_back(numero);
    for (const QString &final : finales(linea))
        ++finales_[final];
    if (numeroEntradas() > maximoEntradas)
        descartarPrimeras(entradasDescartadas);
}

void CacheTraducciones::descartarPrimeras(int n)
{
    for (int i = 0; i < n && !lineas_.empty(); ++i) {
        const QString linea = lineas_.front();
        lineas_.pop_front();
        const auto nombre = porNombre_.find(linea.left(linea.indexOf(u'=')));
        nombre->pop_front();   // the oldest line of a name is always the first to go
        if (nombre->empty())
            porNombre_.erase(nombre);
        for (const QString &final : finales(linea)) {
            const auto f = finales_.find(final);
            if (--*f == 0)
                finales_.erase(f);
        }
        ++primera_;
    }
}

QStringList CacheTraducciones::lineas() const { return QStringList(lineas_.cbegin(), lineas_.cend()); }

void CacheTraducciones::vaciar()
{
    lineas_.clear();
    porNombre_.clear();
    finales_.clear();
    primera_ = 0;
}
