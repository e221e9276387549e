#pragma once
#include "GENEW/runtime/DiagnosticoInstalacion.h"
#include "platform/base/Gancho.h"
#include "platform/ui/Form.h"

#include <functional>

// The carrier of the installation diagnosis: made, run on a topic and closed by
// TfGENEINIC::MostrarDiagnostico.
class TfGENEDIAG : public plat::Form
{
    Q_OBJECT
public:
    TfGENEDIAG(EntornoDiagnostico &entorno, AjustesDiagnostico ajustes, QWidget *parent = nullptr);

    // Shows what the checks of the topic found and, for "Configuracion", offers the repair;
    // true when nothing was found.
    bool DiagnosticarInstalacion(const QString &tema);

    // How the report is shown (text, caption): the detail viewer of the data layer, which
    // the program installs; nothing is shown until then.
    using VisorInforme = std::function<void(const QString &texto, const QString &titulo)>;
    static Gancho<VisorInforme> &Visor();

private:
    EntornoDiagnostico &entorno_;
    AjustesDiagnostico ajustes_;
};
