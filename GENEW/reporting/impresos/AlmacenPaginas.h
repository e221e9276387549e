#pragma once
#include "platform/ui/Drawing.h"

#include <QSize>
#include <QStringList>
#include <QTemporaryFile>
#include <memory>
#include <vector>

class QPainter;

// Draws a stored page at its own pixels, in the painter's coordinates.
void DibujarPagina(QPainter &pintor, const plat::Drawing &pagina);

// The pages of a screen run, each a drawing of the page-bitmap size with the key text of its
// document. There is no fixed limit: past the memory budget the older pages are kept in one
// private temporary file and read back when asked for.
class AlmacenPaginas
{
public:
    explicit AlmacenPaginas(int paginasEnMemoria = 500);

    // Starts a new page for that document; the drawing returned records what is painted on
    // it until the next page starts.
    plat::Drawing &nueva(QSize tamano, const QString &clave);
    int cuenta() const { return int(paginas_.size()); }
    // Page n, from 1; an empty drawing when there is no such page or its file was lost.
    plat::Drawing pagina(int n) const;
    QSize tamano(int n) const;
    const QString &clave(int n) const { return paginas_.at(size_t(n - 1)).clave; }
    QStringList claves() const;
    void vaciar();

private:
    struct Pagina
    {
        std::unique_ptr<plat::Drawing> dibujo;   // none once kept on disk
        qint64 desplazamiento = 0;          // where on disk, and how many bytes
        qint64 bytes = 0;
        QSize tamano;
        QString clave;
    };
    void guardarAntiguas();

    int enMemoria_;
    std::vector<Pagina> paginas_;
    std::unique_ptr<QTemporaryFile> disco_;
    size_t primeraEnMemoria_ = 0;
};
