#pragma once
#include <QString>

#include <memory>

class QLockFile;

// The network session number of a running program. The engines used here keep no list of
// their users, so the number is taken on this machine: the lowest one that no other running
// copy holds, each held through a lock file in a folder every copy shares, for as long as its
// holder runs (a copy that ended, however it ended, lets its number go). Two copies started
// by one user on one machine so name their temporary tables and private folders apart, and
// a later run takes a number again and finds its tables under the names it had.
class SesionRedLocal
{
public:
    // Takes the lowest free number in the folder; none (-1) when all are taken or the folder
    // cannot be written.
    explicit SesionRedLocal(const QString &carpeta);
    ~SesionRedLocal();
    SesionRedLocal(const SesionRedLocal &) = delete;
    SesionRedLocal &operator=(const SesionRedLocal &) = delete;

    int numero() const { return numero_; }

    // This program's, taken in carpetaDelUsuario() at the first call and held until the
    // program ends.
    static int delPrograma();

    // The folder every copy of one user shares for the numbers.
    static QString carpetaDelUsuario();

    // The numbers handed out: 0 to this one less.
    static constexpr int MaximoSesiones = 1000;

private:
    std::unique_ptr<QLockFile> cerrojo_;
    int numero_ = -1;
};
