#pragma once

class TfGENEINIC;

namespace plat {
class DataSet;
class Form;
} // namespace plat

// The common hooks, each installed only where the form or data module set none of its own:
// AfterPost and BeforeDelete on a table, the close query and the activity stamps (mouse
// move, key release) on a form. The deletion's transaction is settled by the dataset's
// AfterDelete (commit) and OnDeleteError (roll-back), wrapped around any handlers the form set.
void instalarGanchosTabla(TfGENEINIC &inicio, plat::DataSet &tabla);
void instalarGanchosFormulario(TfGENEINIC &inicio, plat::Form &formulario);
