#pragma once
#include <QString>
#include <mutex>

namespace plat {

// A shared library the program does not link but opens the first time one of its functions is
// called, so that a start does not pay the loader for it (and the libraries it brings) when the
// user never exports, joins or mails anything. The program defines the library's functions
// itself and forwards each through a pointer resolved once here; without the library every
// forwarder fails the way the library reports failure.
class BibliotecaBajoDemanda
{
public:
    explicit BibliotecaBajoDemanda(const char *fichero) : fichero_(fichero) {}
    BibliotecaBajoDemanda(const BibliotecaBajoDemanda &) = delete;
    BibliotecaBajoDemanda &operator=(const BibliotecaBajoDemanda &) = delete;
    virtual ~BibliotecaBajoDemanda() = default;

    // Opens the library and resolves its functions the first time, from whichever thread asks
    // first; whether it opened and every function was found.
    bool cargada();
    // Why it is not usable, to be shown to the user: the library named, and the loader's
    // reason or the function it lacks. Empty once it is loaded.
    QString motivo();
    const char *fichero() const { return fichero_; }

    // The address of the library's function `nombre` into `funcion`; false when it lacks it.
    template<typename F>
    bool resolver(const char *nombre, F &funcion)
    {
        funcion = reinterpret_cast<F>(simbolo(nombre));
        return funcion != nullptr;
    }

protected:
    // Looks up every function the program calls; false when one is missing.
    virtual bool resolverFunciones() = 0;

private:
    void *simbolo(const char *nombre);

    const char *fichero_;
    std::once_flag intento_;
    void *manejador_ = nullptr;
    bool completa_ = false;
    QString motivo_;
};

// The functions of one library, a pointer member of `Funciones` each, filled by `resolutor`:
// what the forwarders of that library call through.
template<typename Funciones>
class FuncionesBajoDemanda : public BibliotecaBajoDemanda
{
public:
    using Resolutor = bool (*)(BibliotecaBajoDemanda &, Funciones &);

    FuncionesBajoDemanda(const char *fichero, Resolutor resolutor) : BibliotecaBajoDemanda(fichero), resolutor_(resolutor) {}

    // The resolved functions; none when the library or one of its functions is missing.
    const Funciones *operator()() { return cargada() ? &funciones_ : nullptr; }

protected:
    bool resolverFunciones() override { return resolutor_(*this, funciones_); }

private:
    Resolutor resolutor_;
    Funciones funciones_{};
};

} // namespace plat
