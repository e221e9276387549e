#include "projects/proyectos/PROYVERS.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/comun/Errores.h"
#include "platform/data/TableDataSet.h"

TfPROYVERS *fPROYVERS = nullptr;

namespace {

const QString kAmpliada = QStringLiteral("DescripcionAmpliada");

} // namespace

TfPROYVERS::TfPROYVERS(QWidget *parent)
    : FormularioMaestroRejilla(parent, QStringLiteral("fPROYVERS"), QStringLiteral("Notificaciones de Cambios de Versión")),
      instancia_(fPROYVERS, this)
{
    setBounds(0, 0, 720, 400);
    Table1->setTableName(QStringLiteral("NOTVERS"));
    const auto columna = [this](const QString &campo, const QString &titulo, int ancho) {
        plat::GridColumn *c = DBGrid1->addColumn(campo);
        c->TitleCaption = titulo;
        c->Width = ancho;
        return c;
    };
    columna(QStringLiteral("NumeroNotificacion"), QStringLiteral("Notificación"), 80);
    columna(QStringLiteral("Fecha"), QString(), 80);
    columna(QStringLiteral("CodigoArticulo"), QStringLiteral("Artículo"), 120);
    columna(QStringLiteral("Version"), QStringLiteral("Versión"), 70);
    columna(QStringLiteral("Descripcion"), QStringLiteral("Descripción"), 280);
    plat::GridColumn *ampliada = columna(kAmpliada, QStringLiteral("..."), 30);
    ampliada->Alignment = Qt::AlignHCenter;
    ampliada->ButtonStyle = plat::cbsEllipsis;
    DBGrid1->OnDrawColumnCell = plat::handler(this, &TfPROYVERS::DBGrid1DrawColumnCell);
    DBGrid1->OnEditButtonClick = plat::handler(this, &TfPROYVERS::DBGrid1EditButtonClick);
}

void TfPROYVERS::Table1NewRecord(plat::DataSet &DataSet)
{
    FormularioMaestroRejilla::Table1NewRecord(DataSet);
    numerarAlta(DataSet, QStringLiteral("NumeroNotificacion"));
}

QString TfPROYVERS::TituloDescripcionAmpliada() const
{
    const plat::DataSet &tabla = Table1->dataSet();
    return QStringLiteral("Artículo ") + tabla.fieldByName(QStringLiteral("CodigoArticulo")).asString()
        + QStringLiteral(" - Fecha ") + tabla.fieldByName(QStringLiteral("Fecha")).displayText()
        + QStringLiteral(" - Descripción Ampliada");
}

void TfPROYVERS::DBGrid1EditButtonClick(QObject *) { editarMemo(kAmpliada, TituloDescripcionAmpliada()); }

void TfPROYVERS::DBGrid1DrawColumnCell(QObject *, const QRect &Rect, int, plat::GridColumn *Column,
                                       plat::GridCellState State)
{
    if (!Column || Column->FieldName != kAmpliada)
        return;
    plat::Canvas *canvas = DBGrid1->canvas();
    const bool conTexto = !DBGrid1->drawnText(kAmpliada).isEmpty();
    const int colorAnterior = canvas->font().Color;
    canvas->brush().Color = State.testFlag(plat::gdsSelected) ? plat::clHighlight : plat::clWindow;
    canvas->font().Color = conTexto ? plat::clRed : colorAnterior;
    canvas->TextRect(Rect, Rect.left() + 2, Rect.top() + 2, conTexto ? QStringLiteral(" -->") : QStringLiteral(" ..."));
    canvas->font().Color = colorAnterior;
}
