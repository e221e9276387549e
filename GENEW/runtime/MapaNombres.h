#pragma once
#include <QString>
#include <QStringList>

// The name map KORVEL.MAP: lines of blank-separated words whose second word is a program
// or application name (written with "_" for blanks) and whose third word is its number
// (help context or application code). Held as lines of name, "=", number.
class MapaNombres
{
public:
    static constexpr const char *NombreArchivo = "KORVEL.MAP";

    MapaNombres() = default;
    explicit MapaNombres(QStringList lineas) : lineas_(std::move(lineas)) {}

    // Reads the map of the working directory (folders end in "/"); when that folder has none,
    // the copy installed beside the program, so that a new installation has its application.
    // An unreadable file, or none in either folder, gives an empty map without a message.
    static MapaNombres leer(const QString &directorioTrabajo, const QString &directorioInstalacion);
    // The same from the file's text.
    static MapaNombres deTexto(const QString &texto);
    // One line of the file rewritten as name "=" number.
    static QString reescribirLinea(const QString &linea);

    const QStringList &lineas() const { return lineas_; }

    // The number of a name (case ignored, first line wins), 0 when absent.
    int codigoDeNombre(const QString &nombre) const;

private:
    QStringList lineas_;
};

// The name of the first line whose number is the code; empty when none has it.
QString NombreDeCodigoEnLista(const MapaNombres &mapa, int codigo);
