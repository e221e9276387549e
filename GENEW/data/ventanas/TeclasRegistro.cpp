#include "GENEW/data/ventanas/TeclasRegistro.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/comun/Errores.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/data/DBGrid.h"

namespace teclasRegistro {

namespace {
bool editando(const plat::DataSet &d)
{
    const auto s = d.state();
    return s == plat::DataSetState::Edit || s == plat::DataSetState::Insert || s == plat::DataSetState::SetKey;
}
} // namespace

bool CopiarCampoDelGrupo(plat::DBGrid &rejilla)
{
    auto *tabla = dynamic_cast<plat::TableDataSet *>(rejilla.dataSet());
    plat::Field *campo = rejilla.selectedField();
    if (!ModuloDatos || !tabla || !campo || !editando(*tabla))
        return false;
    const QString clave = ModuloDatos->ClaveUltimoRegistroGrupo(*tabla);
    if (!clave.isEmpty())
        ModuloDatos->CopiarCampoRegistro(*tabla, campo->fieldName(), clave);
    return true;
}

bool CopiarRegistro(plat::DBGrid &rejilla)
{
    plat::DataSet *d = rejilla.dataSet();
    if (!ModuloDatos || !d || !d->active())
        return false;
    QString texto;
    ModuloDatos->RegistroATexto(*d, texto);
    return true;
}

bool PegarRegistro(plat::DBGrid &rejilla)
{
    plat::DataSet *d = rejilla.dataSet();
    if (!ModuloDatos || !d || !d->active())
        return false;
    ModuloDatos->TextoARegistro(*d, QStringLiteral("SinIndices"));
    return true;
}

bool LimpiarValor(QObject *control)
{
    if (!ModuloDatos || !control)
        return false;
    try {
        ModuloDatos->LimpiarValorControl(control);
    } catch (const gp::Abort &) {
        // A handler of the data set refused the edit: the value stays.
    }
    return true;
}

} // namespace teclasRegistro
