#pragma once
#include "GENEW/runtime/ConfiguracionBasesDatos.h"
#include "GENEW/runtime/LineaComandos.h"
#include "GENEW/runtime/MapaNombres.h"
#include "GENEW/runtime/ParametrosKorvel.h"

#include <QString>
#include <QStringList>

// The process-wide settings of one run, read once at start-up from the command line, the
// database settings and the settings file, with the values derived from them. The start-up
// form holds one and every part of the program reads it.
struct ConfiguracionArranque
{
    QString directorioTrabajo;          // the current folder at start, ending in "/"
    OpcionesLineaComandos lineaComandos;
    ConfiguracionBasesDatos basesDatos;
    QString archivoConfiguracion;       // the settings file actually read
    ParametrosKorvel parametros;
    QString plataforma;                 // the "Plataforma" line of ObtenerPlataforma
    int altoTitulo = 27;                // 32 under the platform with the taller caption
    bool temporalesEnBaseDatos = true;  // temporary tables live in the general database
    QString baseAliasEmpresa;           // company alias base (AliasBaseDatos)
    QString direccionWeb;               // address of the main window's link ("" for none)
    MapaNombres mapaNombres;

    // What start-up has to say before going on: the settings-file warning (kind "A"), and the
    // reason why this engine cannot run here (kind "E", the start-up ends).
    QString aviso;
    QString rechazo;

    // Reads everything; argumentos are the program's arguments without the program itself;
    // directorioInstalacion (ending in "/") holds the files installed with the program.
    static ConfiguracionArranque leer(const QString &directorioTrabajo, const QStringList &argumentos,
                                      const QString &plataforma, const QString &directorioInstalacion = QString());

    // The process-wide effects of the settings: the date format and zero-date literal of SQL
    // text.
    void aplicarAjustesComunes() const;

    // The options that start the program again as this run was started.
    QString LineaComandos(const QString &usuarioActual) const;
};

// Deletes the work files that an earlier run may have left: "_QS*.*" in the working folder and
// "QRP*.TMP" in the system's temporary folder. Files that cannot be deleted stay.
void BorrarTemporalesAntiguos(const QString &directorioTrabajo);

// The web address of the main window's link from the setting: empty or "Por Defecto" give
// the maker's address, which is a setting left empty here; "Ninguna" gives none.
QString DireccionWebDistribuidor(const QString &valor);

// The look's font and colours: the looks whose name begins with "evo" use "Segoe UI" and a
// light blue pair, the others the classic font and the button face.
struct AspectoVisual
{
    QString fuente;
    int tamano = 8;
    int color1 = 0;   // stored colours ($BBGGRR or system colours)
    int color2 = 0;
    static QString aspectoEfectivo(const QString &aspectoAplicacion);   // empty is "evo+"
    static AspectoVisual deAspecto(const QString &aspecto);
};

// The numbered private folder of this session under "PRIVDIR" of the working folder, used
// when the settings ask for one ("AUTO") and temporary tables live in folders. Starting at the
// session number and counting down, the first folder that can be created and emptied of its
// "TEMP*" files is taken.
struct DirectorioPrivado
{
    bool usar = false;        // the settings ask for a numbered private folder
    bool conflicto = false;   // no folder could be prepared: the start-up ends
    QString carpeta;          // the folder taken, ending in "/"

    static constexpr const char *AvisoConflicto =
        "Se ha producido un conflicto con otro usuario (o aplicación). Inténtelo de nuevo.";

    static DirectorioPrivado preparar(const QString &directorioTrabajo, int numeroSesion,
                                      const ParametrosKorvel &parametros, bool temporalesEnBaseDatos);
};
