#pragma once
#include <utility>

// The one shape of a hook: a service that a layer declares and a layer above it provides.
// The declaring layer holds a Gancho<T> with its default. The provider installs its value
// for the life of an Instalacion it owns (a local of main, a member of the object that
// provides the service, a test's local); when the Instalacion goes, the value installed
// before it comes back, so nested installations (a test inside a running program) undo
// themselves in order. docs/ARCHITECTURE.md lists every hook: who declares, who installs.
template <typename T>
class Gancho
{
public:
    constexpr explicit Gancho(T porDefecto = T()) : valor_(std::move(porDefecto)) {}
    Gancho(const Gancho &) = delete;
    Gancho &operator=(const Gancho &) = delete;

    const T &valor() const { return valor_; }

    class Instalacion
    {
    public:
        Instalacion(Gancho &gancho, T valor) : gancho_(gancho), previo_(std::exchange(gancho.valor_, std::move(valor))) {}
        ~Instalacion() { gancho_.valor_ = std::move(previo_); }
        Instalacion(const Instalacion &) = delete;
        Instalacion &operator=(const Instalacion &) = delete;

    private:
        Gancho &gancho_;
        T previo_;
    };

private:
    T valor_;
};
