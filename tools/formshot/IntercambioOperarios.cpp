// The operator-code swap with three pairs, the first one already swapped (grey).
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "platform/ui/Application.h"
#include "projects/operarios/PRESIOPE.h"


namespace {

// A started program over a company of its own with three operators.
bool prepararOperarios()
{
    for (const char *fila : {"5, 'María Jesús Ortega'", "7, 'Andrés Núñez'", "9, 'Iñaki Goikoetxea'"})
        ModuloDatos->EjecutarSQL(QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre) VALUES (%1)").arg(QString::fromUtf8(fila)));
    return true;
}

plat::Form *intercambio()
{
    if (!formshot::empresaMuestra(prepararOperarios))
        return nullptr;
    auto *marco = plat::createForm<plat::Form>();
    marco->setFormStyle(plat::fsMDIForm);
    plat::application().setMainForm(marco);
    auto *ventana = plat::createForm<TfPRESIOPE>();
    plat::DataSet &t = ventana->Temporal->dataSet();
    const struct
    {
        const char *origen, *destino, *situacion;
    } filas[] = {{"5", "105", "Terminado"}, {"7", "107", "Pendiente"}, {"9", "109", "Pendiente"}};
    for (const auto &f : filas) {
        t.append();
        t.fieldByName(QStringLiteral("DatoOrigen")).setAsString(QString::fromLatin1(f.origen));
        t.fieldByName(QStringLiteral("DatoDestino")).setAsString(QString::fromLatin1(f.destino));
        t.fieldByName(QStringLiteral("Situacion")).setAsString(QString::fromLatin1(f.situacion));
        t.post();
    }
    t.first();
    marco->resize(700, 480);
    marco->Show();
    ventana->setBounds(0, 0, 680, 440);
    return marco;
}

const bool registrado = formshot::registerForm(
    {QStringLiteral("intercambio-operarios"), QStringLiteral("intercambio de códigos de operarios con tres parejas"),
     [](const QString &) { return intercambio(); }});

} // namespace
