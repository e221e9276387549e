// The general parameters window on each of its pages, the settings editor with the mail
// settings, and the copy to other companies with its list of companies.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENEPARA.h"
#include "GENEW/data/ventanas/GENERINI.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/ParametrosGenerales.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DataSetComponents.h"

namespace {

plat::Form *parametrosGlobales(int pagina)
{
    if (!formshot::programaIniciado())
        return nullptr;
    auto *marco = plat::createForm<plat::Form>();
    marco->setFormStyle(plat::fsMDIForm);
    plat::application().setMainForm(marco);
    auto *ventana = plat::createForm<TfGENEPARA>();
    ventana->PageControl1->setActivePageIndex(pagina);
    return ventana;
}

plat::Form *editorRegistroINI()
{
    auto *editor = plat::createForm<TfGENERINI>();
    editor->Descriptores = {QStringLiteral("ClienteSMTP=Por Defecto,Indy"), QStringLiteral("ClienteSMTP(Masivo)=Por Defecto,Indy")};
    editor->cargar(FusionarRegistroINI(ConfiguracionCorreoPorDefecto(),
                                       QStringLiteral("ServidorSMTP=smtp.empresa.es\r\nCodigoUsuarioSMTP=obras\r\n"
                                                      "PuertoSSL=465\r\nCuentaFromSMTP=obras@empresa.es")),
                   QStringLiteral("Campo;Valor"));
    editor->setCaption(QStringLiteral("Instrucciones"));
    editor->resize(450, 340);
    return editor;
}

plat::Form *copiaEmpresas()
{
    if (!formshot::programaIniciado())
        return nullptr;
    for (const char *fila : {"2, 'Reformas del Norte'", "3, 'Obras y Servicios Levante'", "4, 'Reformas del Norte'"})
        ModuloDatos->EjecutarSQL(QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre) VALUES (%1)").arg(QString::fromUtf8(fila)),
                                 QStringLiteral("DatabaseGeneral"));
    auto *copia = plat::createForm<TfGENECOPI>();
    plat::TableDataSet clientes;
    clientes.setConnection(&fGENEINIC->Database());
    clientes.setTableName(QStringLiteral("CLIENTES"));
    clientes.open();
    SalidaMensajesGrabada respuestas;
    respuestas.programarRespuestas({QStringLiteral("SI"), QStringLiteral("SI")});
    SalidaMensajesInstalada instalada(respuestas);
    const auto anterior = plat::application().OnModalShown;
    plat::application().OnModalShown = [](plat::Form &f) {
        static_cast<TfGENECOPI &>(f).ListaEmpresas->setSelected(1, true);
        f.setModalResult(plat::mrCancel);
    };
    copia->CopiarTabla(clientes);
    plat::application().OnModalShown = anterior;
    return copia;
}

bool registrar()
{
    for (int i = 0; i < TfGENEPARA::Paginas().size(); ++i)
        formshot::registerForm({QStringLiteral("parametros-globales-%1").arg(i + 1),
                                QStringLiteral("parámetros globales, página \"%1\"").arg(TfGENEPARA::Paginas()[i]),
                                [i](const QString &) { return parametrosGlobales(i); }});
    return formshot::registerForm({QStringLiteral("editor-registro-ini"),
                                   QStringLiteral("el editor de ajustes con la configuración de correo"),
                                   [](const QString &) { return editorRegistroINI(); }})
        && formshot::registerForm({QStringLiteral("copia-empresas"), QStringLiteral("copiar registros a otras empresas"),
                                   [](const QString &) { return copiaEmpresas(); }});
}

const bool registrado = registrar();

} // namespace
