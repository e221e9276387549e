#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// The operations on structure-definition texts. Texts travel as CR LF separated lines;
// the service form's methods of the same names forward here.
namespace estructura {

// Section headers of a variant (".VRT") text.
inline const QString kSeccionNuevas = QStringLiteral("[Definiciones Nuevas o Sustitutivas]");
inline const QString kSeccionComplementarias = QStringLiteral("[Definiciones Complementarias]");

// The kinds that ExtraerBloqueDefinicion knows, joined by "," in its kinds text.
inline const QString kBloqueCampos = QStringLiteral("Campos");
inline const QString kBloqueCamposUsuario = QStringLiteral("CamposUsuario");
inline const QString kBloqueIndices = QStringLiteral("Indices");
inline const QString kBloqueSQL = QStringLiteral("SQL");

// Answers the user-field rows of a table as the SQL service answers them: rows separated
// by CR LF, the columns OrdenCampo|NombreCampo|TipoCampo|LongitudCampo.
using ConsultaCamposUsuario = std::function<QString(const QString &tabla)>;

// The first block of a table: from the first line whose piece 0 names it up to the
// first following line that names anything else (an empty line ends it too).
QStringList PrimerBloque(const QString &tabla, const QStringList &lineas,
                         Qt::CaseSensitivity sensibilidad = Qt::CaseSensitive);

// The sorted distinct table names of the lines that carry a text after "|".
QString ListarTablasTexto(const QString &texto, const QString &opciones = {});

// The lines of a table's first block, of the kinds named ("Campos", "CamposUsuario",
// "Indices", "SQL" joined by ","; empty = all four), in that order. User fields come
// from the query; without one there are none.
QString ExtraerBloqueDefinicion(const QString &tabla, const QString &texto, const QString &clases,
                                const ConsultaCamposUsuario &camposUsuario = {});

// The field names of the "C" lines of a block that belong to the table; with
// "IncluirTipo" in the options each is followed by "/" and its type name.
QString ListarCamposDefinicion(const QString &tabla, const QString &bloque, const QString &opciones);

// A table's fields from a structure text: its block of every kind, listed.
QString ObtenerEstructuraTabla(const QString &tabla, const QString &opciones, const QString &texto,
                               const ConsultaCamposUsuario &camposUsuario = {});

// A standard text merged with a variant text: completed tables first, then the new or
// substitute definitions, then the standard text.
QString CombinarDefiniciones(const QString &estandar, const QString &variante);

// The table names defined in a structure text, one a line; with the options exactly
// "ExcluirTablasBDGeneral" the general-database tables are left out.
QString ListarTablasDefinidas(const QString &opciones, const QString &texto);

// The user-field statement and the conversion of its answer into definition lines.
QString SentenciaCamposUsuario(const QString &aliasBaseDatosGeneral, const QString &tabla);
QStringList LineasCamposUsuario(const QString &tabla, const QString &respuesta);

// The field-type name a CAMPOUSR type word stands for; empty for an unknown word.
QString TipoDeCampoUsuario(const QString &palabra);

// "Tabla Temporal" definition texts.
bool EsDefinicionTemporal(const QString &definicion);
int NumeroTablaTemporal(const QString &primeraLinea);

} // namespace estructura
