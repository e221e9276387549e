#pragma once

namespace plat {
class ComponentOwner;
}

// The table-opening part of the preparation every form and data module runs when it is
// created: each table component with a table name, in component order, is opened on the
// general database or on the company's (PARAGENE waits until a company is open); a
// missing table is made from the structure definitions and opened; any other failure is
// reported with the table, component and database and handed to the table repair. On SQL
// Server an empty transaction settles the company connection afterwards.
//
// False when a missing table could not be created: a form then closes. A data module goes
// on with its other tables (freeing it inside its own creation would leave its creator
// holding a dangling module).
bool AbrirTablasFormulario(plat::ComponentOwner &formulario);
