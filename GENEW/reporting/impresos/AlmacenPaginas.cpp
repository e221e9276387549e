#include "GENEW/reporting/impresos/AlmacenPaginas.h"

#include "GENEW/runtime/comun/RutinasSistema.h"

#include <QDataStream>
#include <QDir>
#include <QPainter>

void DibujarPagina(QPainter &pintor, const plat::Drawing &pagina)
{
    pagina.play(pintor);
}

AlmacenPaginas::AlmacenPaginas(int paginasEnMemoria) : enMemoria_(qMax(2, paginasEnMemoria)) {}

plat::Drawing &AlmacenPaginas::nueva(QSize tamano, const QString &clave)
{
    Pagina pagina;
    pagina.dibujo = std::make_unique<plat::Drawing>();
    pagina.tamano = tamano;
    pagina.clave = clave;
    paginas_.push_back(std::move(pagina));
    guardarAntiguas();
    return *paginas_.back().dibujo;
}

void AlmacenPaginas::guardarAntiguas()
{
    // The page being recorded and the one before it stay in memory.
    while (paginas_.size() - primeraEnMemoria_ > size_t(enMemoria_)) {
        if (!disco_) {
            disco_ = std::make_unique<QTemporaryFile>(
                QDir(DirectorioTemporalPropio()).filePath(QStringLiteral("paginas-XXXXXX")));
            if (!disco_->open()) {
                disco_.reset();
                return;   // without a file the pages stay in memory
            }
        }
        Pagina &antigua = paginas_[primeraEnMemoria_];
        QByteArray datos;
        {
            QDataStream flujo(&datos, QIODevice::WriteOnly);
            flujo << *antigua.dibujo;
        }
        const qint64 desplazamiento = disco_->size();
        disco_->seek(desplazamiento);
        const qint64 bytes = datos.size();
        if (disco_->write(datos) != bytes)
            return;
        antigua.desplazamiento = desplazamiento;
        antigua.bytes = bytes;
        antigua.dibujo.reset();
        ++primeraEnMemoria_;
    }
}

plat::Drawing AlmacenPaginas::pagina(int n) const
{
    if (n < 1 || n > cuenta())
        return {};
    const Pagina &p = paginas_.at(size_t(n - 1));
    if (p.dibujo)
        return *p.dibujo;
    plat::Drawing leida;
    if (disco_ && disco_->seek(p.desplazamiento)) {
        const QByteArray datos = disco_->read(p.bytes);
        if (datos.size() == p.bytes) {
            QDataStream flujo(datos);
            flujo >> leida;   // a damaged page reads as an empty one
        }
    }
    return leida;
}

QSize AlmacenPaginas::tamano(int n) const
{
    return n >= 1 && n <= cuenta() ? paginas_.at(size_t(n - 1)).tamano : QSize();
}

QStringList AlmacenPaginas::claves() const
{
    QStringList r;
    for (const Pagina &p : paginas_)
        r << p.clave;
    return r;
}

void AlmacenPaginas::vaciar()
{
    paginas_.clear();
    disco_.reset();
    primeraEnMemoria_ = 0;
}
