#pragma once
#include <QString>
#include <functional>

// The structure-definition files: where they are and how their texts are loaded.
namespace estructura {

inline const QString kNombreFicheroDefiniciones = QStringLiteral("DATABASE.TXT");

// Reads whole text files. The service form hands the disk reader; tests hand texts.
class LectorFicheros
{
public:
    virtual ~LectorFicheros() = default;
    virtual bool existe(const QString &ruta) const = 0;
    // False with the reason when the file cannot be read.
    virtual bool leer(const QString &ruta, QString &texto, QString &motivo) const = 0;
};

// Files on disk: UTF-8, or Windows-1252 when the bytes are not UTF-8; a name not found
// as written is looked for ignoring case in the same folder.
class LectorFicherosDisco : public LectorFicheros
{
public:
    bool existe(const QString &ruta) const override;
    bool leer(const QString &ruta, QString &texto, QString &motivo) const override;
};

// Shows a message of a kind ("A" warning, "E" error...) through the program's message routine.
using MostrarMensajeEstructura = std::function<void(const QString &tipo, const QString &texto)>;

// The path of DATABASE.TXT in the general database's folder. When that folder has none,
// the working directory's copy is copied there, or else the copy installed with the
// program, so that a fresh empty folder works. The copy is made on a thread of its own; the
// disk reader reads the file copied until the copy stands under its name.
QString FicheroDefinicionesBaseDatos(const QString &directorioGeneral, const QString &directorioTrabajo,
                                     const QString &directorioInstalacion);

// Waits for the copies started above.
void EsperarCopiasDefiniciones();

// The same path with another extension (".ESP", ".VRT").
QString CambiarExtension(const QString &ruta, const QString &extension);

// The structure text: the specific file, then the standard file, then each variant of
// the ","-separated list merged in order.
QString CargarDefinicionesEstructura(const QString &estandar, const QString &especifico,
                                     const QString &variantes, const LectorFicheros &lector,
                                     const MostrarMensajeEstructura &mostrarMensaje);

// The structure text of the three files of a standard path: the standard file, its ".ESP"
// and its ".VRT".
QString TextoEstructura(const QString &estandar, const LectorFicheros &lector,
                        const MostrarMensajeEstructura &mostrarMensaje);

} // namespace estructura
