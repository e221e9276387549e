#pragma once
#include "GENEW/reporting/informes/PaginasInforme.h"

#include <QTemporaryFile>
#include <iterator>
#include <memory>
#include <vector>

// The pages of a report's run. The last few stay in memory; the older ones go as page files
// to one private temporary file, which goes with the pages, and are read back when asked
// for: a listing of any length needs about the memory of a short one. Without a file the
// pages stay in memory.
class PaginasGuardadas
{
public:
    static constexpr int kEnMemoria = 8;

    explicit PaginasGuardadas(int enMemoria = kEnMemoria);
    ~PaginasGuardadas();
    PaginasGuardadas(const PaginasGuardadas &) = delete;
    PaginasGuardadas &operator=(const PaginasGuardadas &) = delete;

    // How many of the last pages stay in memory (at least one).
    int enMemoria() const { return enMemoria_; }
    void ponerEnMemoria(int paginas);

    void agregar(PaginaCompartida pagina);
    int cuenta() const { return int(paginas_.size()); }
    bool isEmpty() const { return paginas_.empty(); }
    // Page n from 1; nullptr when there is none or its file cannot be read back.
    PaginaCompartida pagina(int n) const;
    void vaciar();
    // The temporary file the older pages went to; empty while every page is in memory.
    QString fichero() const { return disco_ ? disco_->fileName() : QString(); }

    // The pages in order, each read back as it is reached.
    class Iterador
    {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = PaginaCompartida;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = PaginaCompartida;

        Iterador(const PaginasGuardadas &paginas, int n) : paginas_(&paginas), n_(n) {}
        PaginaCompartida operator*() const { return paginas_->pagina(n_); }
        Iterador &operator++()
        {
            ++n_;
            return *this;
        }
        bool operator==(const Iterador &otro) const { return n_ == otro.n_; }
        bool operator!=(const Iterador &otro) const { return n_ != otro.n_; }

    private:
        const PaginasGuardadas *paginas_;
        int n_;
    };
    Iterador begin() const { return Iterador(*this, 1); }
    Iterador end() const { return Iterador(*this, cuenta() + 1); }

private:
    struct Entrada
    {
        PaginaCompartida enMemoria;   // none once on disk
        qint64 desplazamiento = 0;
        qint64 bytes = 0;
    };
    void guardarAntiguas();
    bool abrirDisco();

    int enMemoria_;
    std::vector<Entrada> paginas_;
    size_t primeraEnMemoria_ = 0;
    std::unique_ptr<QTemporaryFile> disco_;
};
