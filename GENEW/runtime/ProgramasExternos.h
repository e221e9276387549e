#pragma once
#include "GENEW/runtime/PalabrasShell.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/base/Gancho.h"

#include <QString>
#include <QStringList>
#include <functional>

// Starting other programs: the command line split as a shell would, the sibling programs of
// the family found beside the executable or on the PATH, the program's plain message box,
// and the command files it runs while waiting.

// A program of the family named "NAME.EXE": looked for as given, then as "NAME" and "name",
// first in the program's folder and then on the PATH. Empty when none exists.
QString LocalizarProgramaHermano(const QString &nombre, const QString &carpetaPrograma);

// Why a program could not start, as the start call of the old system numbered it.
enum class FalloArranque {
    Ninguno = -1,
    SinRecursos = 0,          // no memory or resources
    NoEncontrado = 2,         // the file does not exist
    CaminoNoEncontrado = 3,   // its folder does not exist
    NoEjecutable = 11,        // a folder, or a file that cannot be run
};
// The start failure of a program path (an errno-style code when none of the kinds fits).
struct DiagnosticoArranque
{
    FalloArranque fallo = FalloArranque::Ninguno;
    int codigo = -1;   // the code of the message: the kind's number, or errno
};
DiagnosticoArranque DiagnosticarPrograma(const QString &ruta);
// The message for a failed start of the command line.
QString TextoFalloArranque(const DiagnosticoArranque &diagnostico, const QString &lineaComandos);

// The plain message box of the system (no translation, no kinds). Tests and unattended runs
// install their own for a scope.
using CuadroMensajeFn = std::function<void(const QString &texto)>;
void MostrarCuadroMensaje(const QString &texto);
Gancho<CuadroMensajeFn> &ganchoCuadroMensaje();
class CuadroMensajeInstalado : public Gancho<CuadroMensajeFn>::Instalacion
{
public:
    explicit CuadroMensajeInstalado(CuadroMensajeFn cuadro) : Instalacion(ganchoCuadroMensaje(), std::move(cuadro)) {}
};

// Starts the command line as a detached program; its first word is found by the sibling
// rule (a word with "/" is a path). A failure is shown in the plain message box unless the
// options hold "SinMensaje". "Minimizado", "Maximizado" and "Oculto" have no effect here: the
// desktop places the windows of other programs. Answers whether the program started.
bool EjecutarPrograma(const QString &lineaComandos, const QString &opciones, const QString &carpetaPrograma);
// The same for a program and its arguments; a failure's message names textoMensaje.
bool IniciarPrograma(const QString &programa, const QStringList &argumentos, const QString &textoMensaje,
                     const QString &opciones, const QString &carpetaPrograma);
// What ganchoEjecutarPrograma() runs: programs started with the sibling rule of that folder.
EjecutarProgramaFn EjecutorProgramas(const QString &carpetaPrograma);

// Runs the program hidden and waits for it, processing the application's events in 50 ms
// slices meanwhile. A command file (".BAT", any case) runs under /bin/sh; any other program
// gets the words of the command line as its arguments. Answers the exit code, or -1 when the
// process could not be created ("Error de Creación del Proceso: " + the code is shown).
int EjecutarProcesoYEsperar(const QString &programa, const QString &lineaComandos);

// Writes the command file (a /bin/sh script: the text and a closing LF), waits one second
// processing events, and answers true; when it cannot be written, shows
// "Error de Creación del Archivo (.bat). Motivo: " + the reason, waits the same, answers false.
bool CrearArchivoBAT(const QString &ruta, const QString &texto);
