#include "GENEW/runtime/estructura/FicherosDefiniciones.h"

#include "GENEW/runtime/comun/FicherosTexto.h"

#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <future>
#include <mutex>

namespace estructura {

namespace {

// The file as named, or one of the same folder whose name differs only in case; empty
// when there is none.
QString BuscarFichero(const QString &ruta)
{
    const QString encontrado = LocalizarFichero(ruta);
    return QFileInfo::exists(encontrado) ? encontrado : QString();
}

QString EnCarpeta(const QString &carpeta, const QString &nombre)
{
    return QDir(carpeta.isEmpty() ? QStringLiteral(".") : carpeta).filePath(nombre);
}

// The copies of DATABASE.TXT into general folders that this program started. A copy is
// written whole under a draft name and synced before it takes its name, which costs a first
// start the time of a disk write; on a thread of its own the start goes on meanwhile, reading
// the file copied. A copy that failed (a full disk) leaves no file and is tried again by the
// next start; this one goes on with the file copied.
class CopiasDefiniciones
{
public:
    // Starts copying unless a copy to that path is under way or made.
    void copiar(const QString &origen, const QString &destino)
    {
        const std::lock_guard bloqueo(cerrojo_);
        if (copias_.contains(destino))
            return;
        copias_.insert(destino, Copia{origen, std::async(std::launch::async, [origen, destino] {
                                                  return QFile::copy(origen, destino);
                                              }).share()});
    }

    // The file to read for a path: the file copied while its copy is under way or failed.
    QString lectura(const QString &ruta) const
    {
        const std::lock_guard bloqueo(cerrojo_);
        const auto copia = copias_.constFind(ruta);
        if (copia == copias_.constEnd())
            return ruta;
        const bool hecha = copia->hecha.wait_for(std::chrono::seconds(0)) == std::future_status::ready
            && copia->hecha.get();
        return hecha ? ruta : copia->origen;
    }

    // Whether this program started a copy to that path, whatever came of it.
    bool iniciada(const QString &ruta) const
    {
        const std::lock_guard bloqueo(cerrojo_);
        return copias_.contains(ruta);
    }

    void esperar() const
    {
        QList<std::shared_future<bool>> pendientes;
        {
            const std::lock_guard bloqueo(cerrojo_);
            for (const Copia &copia : copias_)
                pendientes << copia.hecha;
        }
        for (const std::shared_future<bool> &pendiente : pendientes)
            pendiente.wait();
    }

private:
    struct Copia
    {
        QString origen;
        std::shared_future<bool> hecha;   // whether the file stands under its name
    };
    mutable std::mutex cerrojo_;
    QHash<QString, Copia> copias_;
};

CopiasDefiniciones &copiasDefiniciones()
{
    // Freed at the program's end, which waits for a copy still running.
    static CopiasDefiniciones copias;
    return copias;
}

} // namespace

bool LectorFicherosDisco::existe(const QString &ruta) const
{
    return !BuscarFichero(ruta).isEmpty() || copiasDefiniciones().iniciada(ruta);
}

bool LectorFicherosDisco::leer(const QString &ruta, QString &texto, QString &motivo) const
{
    const LecturaFicheroTexto lectura = LeerFicheroTextoConMotivo(copiasDefiniciones().lectura(ruta));
    texto = lectura.texto;
    motivo = lectura.motivo;
    return lectura.leido;
}

QString FicheroDefinicionesBaseDatos(const QString &directorioGeneral, const QString &directorioTrabajo,
                                     const QString &directorioInstalacion)
{
    const QString destino = EnCarpeta(directorioGeneral, kNombreFicheroDefiniciones);
    const QString existente = BuscarFichero(destino);
    if (!existente.isEmpty())
        return existente;
    if (copiasDefiniciones().iniciada(destino))
        return destino;
    for (const QString &carpeta : {directorioTrabajo, directorioInstalacion}) {
        const QString origen = BuscarFichero(EnCarpeta(carpeta, kNombreFicheroDefiniciones));
        if (!origen.isEmpty()) {
            QDir().mkpath(QFileInfo(destino).absolutePath());
            copiasDefiniciones().copiar(origen, destino);
            break;
        }
    }
    return destino;
}

void EsperarCopiasDefiniciones() { copiasDefiniciones().esperar(); }

QString CambiarExtension(const QString &ruta, const QString &extension)
{
    const qsizetype barra = ruta.lastIndexOf(u'/');
    const qsizetype punto = ruta.lastIndexOf(u'.');
    return (punto > barra ? ruta.left(punto) : ruta) + extension;
}

QString CargarDefinicionesEstructura(const QString &estandar, const QString &especifico,
                                     const QString &variantes, const LectorFicheros &lector,
                                     const MostrarMensajeEstructura &mostrarMensaje)
{
    QString texto;
    QString leido;
    QString motivo;
    if (!especifico.isEmpty() && lector.existe(especifico) && lector.leer(especifico, leido, motivo))
        texto = leido;

    leido.clear();
    if (lector.leer(estandar, leido, motivo)) {
        if (!leido.isEmpty())
            texto += kSaltoLinea + leido;
    } else if (mostrarMensaje) {
        mostrarMensaje(QStringLiteral("A"), QStringLiteral("No está disponible el archivo ") + estandar
                                                + QStringLiteral(". Motivo: ") + motivo);
    }

    for (const QString &variante : variantes.split(u',')) {
        if (variante.isEmpty() || !lector.existe(variante))
            continue;
        leido.clear();
        if (lector.leer(variante, leido, motivo))
            texto = CombinarDefiniciones(texto, leido);
    }
    return texto;
}

QString TextoEstructura(const QString &estandar, const LectorFicheros &lector,
                        const MostrarMensajeEstructura &mostrarMensaje)
{
    return CargarDefinicionesEstructura(estandar, CambiarExtension(estandar, QStringLiteral(".ESP")),
                                        CambiarExtension(estandar, QStringLiteral(".VRT")), lector, mostrarMensaje);
}

} // namespace estructura
