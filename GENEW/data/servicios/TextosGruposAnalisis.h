#pragma once
#include <QList>
#include <QString>

// The texts of the analysis groups, database-free: the categories a set of user profiles may
// work with (the general parameters' "PerfilesCategoriasGA", one profile a line, profile + "="
// + categories separated by ","), the SQL condition on a profile's categories, and the rows of
// the range dialog (category + "|" + from + "|" + to, lines joined by CR LF).

// The categories of the ","-separated profiles (up to the first empty one), one a line: each
// profile's block once, the blocks in Spanish order ignoring case, every line ending in CR LF.
QString CategoriasDePerfiles(const QString &perfiles, const QString &perfilesCategorias);

// "(CategoriaGrupo = 'A') OR (CategoriaGrupo = 'B')" for the profile's categories A, B (blanks
// removed); an unconfigured profile gives the condition on an empty category.
QString FiltroCategoriasPerfil(const QString &perfil, const QString &perfilesCategorias);

struct FilaRangoGrupo
{
    QString categoria;
    QString desde;
    QString hasta;

    bool tieneValores() const { return !desde.isEmpty() || !hasta.isEmpty(); }
    // The to value sorts before the from value: two numbers by value (so "10" to "9" fails),
    // other values as texts (so an empty to value after a from value fails too).
    bool invertida() const;
    bool operator==(const FilaRangoGrupo &) const = default;
};

// One row per category (lines of the categories text); a category with a line in the current
// range text takes that line's values.
QList<FilaRangoGrupo> FilasRangosGrupos(const QString &categorias, const QString &rangosActuales);
// Rows as the list dialog takes and gives them: the three columns joined by "|", CR LF between.
QString TextoFilasRangos(const QList<FilaRangoGrupo> &filas);
QList<FilaRangoGrupo> LeerFilasRangos(const QString &texto);
// The rows with a from or a to value, one a line, without a final CR LF.
QString RespuestaRangosGrupos(const QList<FilaRangoGrupo> &filas);
