#include "GENEW/runtime/formularios/RegistrosSinConfirmar.h"

#include "platform/data/DataSet.h"
#include "platform/ui/Containers.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSource.h"

#include <QLabel>

namespace {

bool editando(const plat::DataSet &ds)
{
    const auto estado = ds.state();
    return estado == plat::DataSetState::Edit || estado == plat::DataSetState::Insert;
}

QString sinAceleradores(QString texto) { return texto.remove(u'&'); }

// The grid the dataset is typed in: one that may edit it before one that only shows it.
plat::DBGrid *rejillaDe(QWidget &ventana, const plat::DataSet &ds)
{
    plat::DBGrid *vista = nullptr;
    for (plat::DBGrid *rejilla : ventana.findChildren<plat::DBGrid *>()) {
        if (rejilla->dataSet() != &ds)
            continue;
        if (!rejilla->readOnly())
            return rejilla;
        if (!vista)
            vista = rejilla;
    }
    return vista;
}

// The name the user sees over a grid of the dataset: the label that names the grid, or the
// page it is on.
QString nombreVisible(QWidget &ventana, const plat::DataSet &ds)
{
    if (plat::DBGrid *rejilla = rejillaDe(ventana, ds)) {
        for (QLabel *etiqueta : ventana.findChildren<QLabel *>())
            if (etiqueta->buddy() == rejilla && !etiqueta->text().isEmpty())
                return sinAceleradores(etiqueta->text());
        for (QWidget *w = rejilla->parentWidget(); w && w != &ventana; w = w->parentWidget())
            if (auto *pagina = qobject_cast<plat::TabSheet *>(w))
                return sinAceleradores(pagina->caption());
    }
    return QString();
}

} // namespace

RegistrosSinConfirmar::RegistrosSinConfirmar(QWidget *ventana, const QString &titulo,
                                             const QList<plat::DataSet *> &dataSets)
{
    // What the controls hold and has not reached its record yet is typed too.
    if (ventana)
        for (plat::DataSource *origen : ventana->findChildren<plat::DataSource *>())
            if (origen->dataSet() && origen->dataSet()->active() && editando(*origen->dataSet()))
                origen->UpdateRecord();
    for (plat::DataSet *ds : dataSets) {
        if (ds->state() == plat::DataSetState::Insert && !ds->modified()) {
            sinTeclear_ << ds;
            continue;
        }
        if (!editando(*ds) && ds->state() != plat::DataSetState::SetKey)
            continue;
        pendientes_ << ds;
        const QString nombre = ventana ? nombreVisible(*ventana, *ds) : QString();
        const QString visto = nombre.isEmpty() ? titulo : nombre;
        if (!nombres_.contains(visto))
            nombres_ << visto;
    }
}

QString RegistrosSinConfirmar::nombres() const
{
    QString texto;
    for (const QString &nombre : nombres_)
        texto += nombre + QStringLiteral(", ");
    return texto;
}

void RegistrosSinConfirmar::descartarSinTeclear()
{
    for (plat::DataSet *ds : sinTeclear_)
        if (editando(*ds))
            ds->cancel();
}
