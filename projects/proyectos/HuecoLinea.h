#pragma once
#include <QString>

namespace plat {
class Connection;
}

// The gap a line inserted in the middle of a project's lines goes into. The new line takes
// the number of the line it goes before; that line and the later ones move one number up
// when the new line is written, in the same transaction of the company connection. So a
// cancelled insert leaves the lines as they were, and neither a failed write nor a program
// ending between the two leaves a gap or a number twice.
class HuecoLinea
{
public:
    HuecoLinea() = default;
    HuecoLinea(const HuecoLinea &) = delete;
    HuecoLinea &operator=(const HuecoLinea &) = delete;
    ~HuecoLinea() { anular(); }

    // Starts the transaction and moves line `linea` of project `proyecto` of table `tabla` (its
    // name as the engine knows it) and every later line one number up; the transaction stays
    // open for the new line's write. A failure is rolled back and thrown.
    void abrir(plat::Connection &conexion, const QString &tabla, const QString &proyecto, int linea);
    bool abierto() const { return conexion_ != nullptr; }
    // The new line is written: the lines keep their new numbers.
    void confirmar();
    // The new line was not written: the lines go back to their numbers.
    void anular();

private:
    plat::Connection *conexion_ = nullptr;
};
