#pragma once

class QObject;

namespace plat {
class DBGrid;
}

// What the record keys of the common key handler do, over the shared data module. Each
// answers whether it acted (the key is then consumed).
namespace teclasRegistro {

// Shift+F5 on a grid whose data set is being edited: the selected field takes the value it
// has in the last record that shares every key value but the last with the current one.
bool CopiarCampoDelGrupo(plat::DBGrid &rejilla);
// Ctrl+Alt+C: the grid's current record into the record buffer.
bool CopiarRegistro(plat::DBGrid &rejilla);
// Ctrl+Alt+V: the record buffer into the grid's current record, its index fields left alone.
bool PegarRegistro(plat::DBGrid &rejilla);
// Ctrl+I: the value under the focused control is cleared.
bool LimpiarValor(QObject *control);

} // namespace teclasRegistro
