#include "GENEW/reporting/informes/PaginasGuardadas.h"

#include "GENEW/runtime/comun/RutinasSistema.h"

#include <QDir>

PaginasGuardadas::PaginasGuardadas(int enMemoria) : enMemoria_(std::max(1, enMemoria)) {}

PaginasGuardadas::~PaginasGuardadas() = default;

void PaginasGuardadas::ponerEnMemoria(int paginas)
{
    enMemoria_ = std::max(1, paginas);
    guardarAntiguas();
}

void PaginasGuardadas::agregar(PaginaCompartida pagina)
{
    paginas_.push_back(Entrada{std::move(pagina)});
    guardarAntiguas();
}

bool PaginasGuardadas::abrirDisco()
{
    if (disco_)
        return true;
    auto disco =
        std::make_unique<QTemporaryFile>(QDir(DirectorioTemporalPropio()).filePath(QStringLiteral("informe-XXXXXX")));
    if (!disco->open())
        return false;
    disco_ = std::move(disco);
    return true;
}

void PaginasGuardadas::guardarAntiguas()
{
    while (paginas_.size() - primeraEnMemoria_ > size_t(enMemoria_)) {
        if (!abrirDisco())
            return;
        Entrada &antigua = paginas_[primeraEnMemoria_];
        const QByteArray fichero = guardarPagina(*antigua.enMemoria);
        const qint64 desplazamiento = disco_->size();
        if (!disco_->seek(desplazamiento) || disco_->write(fichero) != fichero.size())
            return;   // the disk is full: the page stays in memory
        antigua.desplazamiento = desplazamiento;
        antigua.bytes = fichero.size();
        antigua.enMemoria.reset();
        ++primeraEnMemoria_;
    }
}

PaginaCompartida PaginasGuardadas::pagina(int n) const
{
    if (n < 1 || n > cuenta())
        return nullptr;
    const Entrada &entrada = paginas_[size_t(n - 1)];
    if (entrada.enMemoria)
        return entrada.enMemoria;
    if (!disco_ || !disco_->seek(entrada.desplazamiento))
        return nullptr;
    std::optional<PaginaGenerada> leida = leerPagina(disco_->read(entrada.bytes));
    return leida ? std::make_shared<const PaginaGenerada>(std::move(*leida)) : nullptr;
}

void PaginasGuardadas::vaciar()
{
    paginas_.clear();
    primeraEnMemoria_ = 0;
    disco_.reset();
}
