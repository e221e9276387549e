#pragma once
#include "GENEW/reporting/informes/GENEPREV.h"
#include "GENEW/runtime/Geneinic.h"

namespace plat {
class MainMenu;
class MenuItem;
} // namespace plat

// The start-up form's session services as the main window gives them: closing the windows
// and data modules of a company, the menus of stored statements and custom reports, their
// entries, and the "Free" line of a released window.
namespace servicios_sesion {

// Frees every data module, every form but the main window whose name does not begin with
// "fGE", and of the "fGE" forms those of the stored statements, custom reports and texts
// master; the framework's long-lived forms stay.
void CerrarFormulariosAbiertos();

// Rebuilds the entries of the main menu's Adicional1 (stored statements) and Informes1
// (the report designer and the custom reports) for the user and program: the entries added
// before (tag 100) are removed first, whatever their captions became.
void AnadirInformesPersonalizados(const QString &usuario, const QString &programa, plat::MainMenu *menu);

// A stored-statement or custom-report entry: its window (same caption) is closed and a new
// runner opened on it.
void MenuConsultaInformeClick(QObject *Sender);

// The custom-report designer, for administrators with access to the entry.
void ConfigurarInformesClick(QObject *Sender);

// The access-log line "Free" of a window released.
void RegistrarLiberacionFormulario(plat::Form *liberado);

// All of them, for ServiciosSesionInstalados.
ServiciosSesion Todos();

// What the listing preview asks of the session: the start-up form's preparation and
// translation, the listing-cancelled flag, the data module's report output and print dialog,
// and the help.
ServiciosPrevisualizacion Previsualizacion();

} // namespace servicios_sesion
