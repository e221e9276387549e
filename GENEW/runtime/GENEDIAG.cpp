#include "GENEW/runtime/GENEDIAG.h"

#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/ui/Application.h"

TfGENEDIAG::TfGENEDIAG(EntornoDiagnostico &entorno, AjustesDiagnostico ajustes, QWidget *parent)
    : plat::Form(parent), entorno_(entorno), ajustes_(std::move(ajustes))
{
    setObjectName(QStringLiteral("fGENEDIAG"));
    setCaption(QStringLiteral("Diagnóstico de la Instalación"));
    resize(329, 101);
    setPosition(plat::poScreenCenter);
}

Gancho<TfGENEDIAG::VisorInforme> &TfGENEDIAG::Visor()
{
    static Gancho<VisorInforme> gancho;
    return gancho;
}

bool TfGENEDIAG::DiagnosticarInstalacion(const QString &tema)
{
    const ResultadoDiagnostico r = ComponerDiagnostico(entorno_, ajustes_, tema);
    if (r.informe.isEmpty())
        return true;
    if (const VisorInforme &visor = Visor().valor())
        visor(r.informe, QStringLiteral("Diagnóstico de la Instalación"));
    if (tema.contains(QStringLiteral("Configuracion")) && MensajeConfirmacion(kPreguntaReparacion) == QLatin1String("SI")) {
        plat::BusyCursor reloj;
        RepararInstalacion(entorno_, ajustes_, r.idiomaSinAsignar);
    }
    return false;
}
