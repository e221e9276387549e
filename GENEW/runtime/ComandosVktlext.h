#pragma once
#include <QList>
#include "GENEW/runtime/comun/RutinasSistema.h"

#include <QString>
#include <functional>
#include <utility>

// The auxiliary program "VKTLEXT.EXE" (vktlext here) is driven by command files: a Name=Value
// .INI file with the command's keys, a .VAL file with the values of a Word merge, and a .BAT
// command file that starts the program with the command word and the .INI path.

struct ComandoVktlext
{
    QString palabra;                                // the command word ("" for none)
    QList<std::pair<QString, QString>> claves;      // the .INI keys, in file order
    bool conValores = false;                        // a .VAL file goes with the command
    QString valores;                                // its text, unchanged
};

ComandoVktlext ComandoEnviarEMailMAPI(const QString &asunto, const QString &texto, const QString &adjuntos,
                                      const QString &nombreRemitente, const QString &emailRemitente,
                                      const QString &nombreDestinatario, const QString &emailDestinatario,
                                      const QString &nombreDestinatarioCC, const QString &emailDestinatarioCC,
                                      const QString &opciones);
// "PathArchivoValores" is given the .VAL file's path when the files are written.
ComandoVktlext ComandoAbrirDocumentoWord(const QString &documento, const QString &valores);
// Type "DOC" prints through the word processor, "PDF" on the printer itself; any other
// type gives an empty command word.
ComandoVktlext ComandoImprimirDocumento(const QString &documento, const QString &impresora, const QString &tipo);

// The files of one call, named after a new identifier in the temporary folder.
struct ArchivosComandoVktlext
{
    QString ini;
    QString val;
    QString bat;
    static ArchivosComandoVktlext nuevos(const QString &directorioTemporal, const QString &identificador);
};

// The .INI text: one Name=Value line per key; the line breaks of "Texto=" and
// "ArchivosAdjuntos=" written as "·" so that each value stays on its line.
QString TextoINIVktlext(const ComandoVktlext &comando, const QString &rutaValores);
// The .BAT line: the program, the command word and the .INI path, each quoted.
QString LineaBATVktlext(const QString &programa, const QString &palabra, const QString &rutaINI);

// Where a call runs: the auxiliary program (by the sibling rule; empty when it is missing, which
// is said with the not-found message and runs nothing), the temporary folder, the start-up
// folder that is made current again afterwards, and the identifiers of the files.
struct EntornoVktlext
{
    QString programa;
    QString directorioTemporal;
    QString directorioArranque;
    std::function<QString()> nuevoIdentificador = NuevoGUID;
};

// Writes the files, runs the .BAT and waits for it, makes the start-up folder current and
// deletes the .BAT, the .INI and the .VAL, in that order. Answers the program's exit code;
// -1 when nothing could run.
int EjecutarComandoVktlext(const ComandoVktlext &comando, const EntornoVktlext &entorno);
