#pragma once
#include "GENEW/runtime/comun/RutinasTipos.h"

#include <QFont>
#include <QStringList>
#include <optional>

// The grid font a stored statement asks for: the font and its colour.
struct FuenteConsulta
{
    QFont fuente;
    TColor color = 0;
};

// The Name=Value lines kept with a stored statement: the users who may run it, the
// applications whose menus list it, and the grid font. Lines it does not know are kept as
// they are.
class InstruccionesConsulta
{
public:
    explicit InstruccionesConsulta(const QString &texto = QString());

    QString texto() const;   // every line followed by CR LF
    const QStringList &lineas() const { return lineas_; }

    // The codes of "UsuariosAutorizados" (each written followed by ","); empty: every user.
    QStringList usuariosAutorizados() const;
    // Whether the user is one of them (an item, never a part of one), or there are none.
    bool autoriza(const QString &usuario) const;
    QStringList aplicacionesContenedoras() const;

    // "Font=" name, style, colour, size: a stored "MS Sans Serif" and a size of 8 give way to
    // the default font's; a style, colour or size that cannot be read keeps the default's.
    // Nothing when there is no "Font" line.
    std::optional<FuenteConsulta> fuente(const QFont &porDefecto) const;

    // Each writes its key in place of its first line (a repeated name keeps no other line;
    // an empty value leaves none), every other line kept.
    void escribir(const QString &clave, const QString &valor);
    void ponerUsuariosAutorizados(const QStringList &codigos);
    void ponerAplicacionesContenedoras(const QStringList &nombres);
    void ponerFuente(const FuenteConsulta &fuente);

private:
    QStringList lineas_;
};

// Each item followed by ",", as the lists of users and applications are stored.
QString ListaConComas(const QStringList &items);
// The items of such a list, trimmed, empty ones left out.
QStringList ItemsDeLista(const QString &lista);
