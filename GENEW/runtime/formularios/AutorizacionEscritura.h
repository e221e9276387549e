#pragma once
#include <QString>
#include <QStringList>

class QObject;

namespace plat {
class DataSet;
} // namespace plat

// The one gate before every write a window makes, whatever table or connection it writes
// through. A window's program is its caption (the menu path the user's levels name); a tool
// that writes for another window's record asks for that window's program. At "Solo Lectura"
// nothing is written, nothing is asked first, and the user reads
// "¡Ud. no tiene autorización para realizar modificaciones!". The paths that ask here:
// - posting and deleting a master's own tables (`FormularioMaestro`: the bin, "+", F5, F6,
//   multiple deletion, and their menu items disabled), a master grid's line deletion;
// - the copy to other companies (`TfGENECOPI`, for the window of the table it copies);
// - the text import into a result grid (`ComandosRejilla`);
// - electronic documents and attachments (`TfGENEDOCE`: adding, removing, describing, for
//   its own program and the program of the record's window);
// - document responsibility (Ctrl+R, `MostrarResponsabilidad`);
// - Ctrl+T texts and templates written into a record;
// - the user fields' viewer with editing (Ctrl+numpad "+");
// - the operators' calendar: generation, marking days, the day, month and year deletions;
// - the operator-code swap (`TfPRESIOPE`);
// - the SQL console: stored statements, their users, menus, settings and copies, the import;
// - the programmable listing's formats (`TfGENECPRO`: saving and deleting, for the window
//   whose data it lists) and the report designer's saves (`TfGENECINF`);
// - the layouts saved from the layout editor (`TfGENEIMPR`).
// With no user services installed (no data module) nothing is refused.

// The program of the window an object belongs to: the caption of the nearest form above
// it (a dataset through its component); empty when it belongs to none.
QString ProgramaDeVentana(const QObject *objeto);
QString ProgramaDeVentana(const plat::DataSet &dataSet);

// Whether the user's level for any of the programs is "Solo Lectura" (nothing shown).
bool SoloLectura(const QStringList &programas);
bool SoloLectura(const QObject *ventana);

// The gate: true when the user may write for the programs; at "Solo Lectura" the refusal
// is shown and the answer is false.
bool EscrituraAutorizada(const QStringList &programas);
bool EscrituraAutorizada(const QObject *ventana);
bool EscrituraAutorizada(const plat::DataSet &dataSet);

// The refusal the gate shows.
extern const QString kSinAutorizacionModificar;
