#include "GENEW/reporting/informes/ImprimirListadoProgramable.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/reporting/informes/Informe.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/SpinEdit.h"
#include "platform/ui/data/DBGrid.h"

void ImprimirListadoProgramable(TfGENECPRO &dialogo, plat::DataSet &datos)
{
    TfGENELPRO *listado = plat::createForm<TfGENELPRO>();
    fGENELPRO = listado;
    listado->NumeroColumnasFicha = dialogo.NumeroColumnasFicha->value();
    listado->NumeroLineasMemoFicha = dialogo.NumeroLineasMemoFicha->value();
    listado->FormatoFicha = dialogo.FormatoFicha->isChecked();
    listado->SepararPorPaginas = dialogo.SepararPorPaginas->isChecked();
    listado->QuickReport->DataSet = &datos;
    listado->QuickReport->ReportTitle = dialogo.Titulo->text();
    listado->AjustarPalabras = !dialogo.LimitarPalabras->isChecked();
    listado->Sumatorios = QStringLiteral("Todas");
    listado->QuickReport->page()->Orientation =
        dialogo.cbApaisado->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    listado->TamanioPapel = dialogo.cbTamanio->text();
    listado->Fuente = dialogo.DBGrid1->font();
    try {
        if (dialogo.VisualizacionPrevia->isChecked()) {
            listado->QuickReport->Preview();
        } else if (ModuloDatos) {
            listado->QuickReport->Prepare();
            ModuloDatos->ImprimirInforme(*listado->QuickReport, QString());
        }
    } catch (...) {
        listado->Free();
        fGENELPRO = nullptr;
        throw;
    }
    listado->Free();
    fGENELPRO = nullptr;
}
