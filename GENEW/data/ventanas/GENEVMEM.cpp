#include "GENEW/data/ventanas/GENEVMEM.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Keys.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSource.h"

#include <QScopeGuard>
#include <QTextCursor>
#include <QVBoxLayout>

TfGENEVMEM *fGENEVMEM = nullptr;

TfGENEVMEM::TfGENEVMEM(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEVMEM"));
    setCaption(QStringLiteral("Visor de Campos de Texto"));
    resize(436, 133);
    setPosition(plat::poScreenCenter);
    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    Panel1 = make<plat::Panel>(QStringLiteral("Panel1"), this);
    auto *caja = new QVBoxLayout(Panel1);
    caja->setContentsMargins(2, 2, 2, 2);
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DBMemo = make<plat::DBMemo>(QStringLiteral("DBMemo"), Panel1);
    DBMemo->setTabChangesFocus(false);
    DBMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    DBMemo->OnDblClick = [this](QObject *) { BuscarTexto(); };
    caja->addWidget(DBMemo);
    columna->addWidget(Panel1);

    setKeyPreview(true);
    OnKeyDown = [this](QObject *, int &Key, plat::ShiftState Shift) { FormKeyDown(Key, Shift); };
    OnShow = [this](QObject *) {
        if (fGENEINIC)
            fGENEINIC->TraducirFormulario(this);
    };
    OnClose = [this](QObject *, plat::CloseAction &Action) {
        FormClose();
        Action = plat::caHide;
    };
}

// The global names only a living form.
TfGENEVMEM::~TfGENEVMEM()
{
    if (fGENEVMEM == this)
        fGENEVMEM = nullptr;
}

void TfGENEVMEM::FormKeyDown(int &Key, plat::ShiftState Shift)
{
    const bool sinModificadores = !(Shift & (plat::ssShift | plat::ssAlt | plat::ssCtrl));
    if (Key == plat::VK_ESCAPE) {
        Key = 0;
        Close();
    } else if (Key == plat::VK_F2 && sinModificadores) {
        Key = 0;
        BuscarTexto();
    } else if (fGENEINIC) {
        fGENEINIC->ProcesarTeclaFormulario(this, Key, Shift);
    }
}

void TfGENEVMEM::FormClose()
{
    if (DBMemo->isReadOnly())
        return;
    QStringList lineas = DBMemo->lines();
    const qsizetype antes = lineas.size();
    while (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    if (lineas.size() != antes)
        DBMemo->setText(lineas.join(QStringLiteral("\r\n")));
}

void TfGENEVMEM::BuscarTexto()
{
    if (BusquedaTexto.isEmpty() || DBMemo->isReadOnly())
        return;
    const QString separador = QStringLiteral(";");
    const QString tabla = ExtraerCampo(0, BusquedaTexto, separador);
    bool leido = false;
    int indice = ExtraerCampo(1, BusquedaTexto, separador).trimmed().toInt(&leido);
    if (!leido)
        indice = 0;
    const QString campo = ExtraerCampo(2, BusquedaTexto, separador);
    (void)gp::capturarFallo([&] {
        const QVariant elegido = BuscarRegistro(tabla, indice);
        if (elegido.isNull())
            return;
        QString valor = elegido.toList().value(0).toString();
        if (!campo.isEmpty()) {
            if (!ModuloDatos)
                return;
            QVariant leidos;
            ModuloDatos->LeerCamposRegistro(tabla, valor, leidos, campo);
            if (leidos.isNull())
                return;
            valor = leidos.toStringList().value(0);
        }
        DBMemo->setText(DBMemo->text() + valor + QStringLiteral("\r\n"));
    });
}

QString TfGENEVMEM::Mostrar(plat::DataSet &dataSet, const QString &titulo, const QString &leyenda, const QString &campo,
                            bool soloLectura, bool cursorAlFinal)
{
    QString encabezado = titulo;
    if (fGENEINIC && !fGENEINIC->CodigoIdioma.isEmpty() && ModuloDatos)
        encabezado = ModuloDatos->Traducir(leyenda) + QStringLiteral(" (")
            + ModuloDatos->Traducir(AbreviarNombreCampo(campo, 1)) + QStringLiteral(")");
    setCaption(encabezado);
    DataSource1->setDataSet(&dataSet);
    DBMemo->setDataSource(DataSource1);
    DBMemo->setDataField(campo);
    DBMemo->setReadOnly(soloLectura);
    DBMemo->moveCursor(cursorAlFinal ? QTextCursor::End : QTextCursor::Start);
    const auto desatar = qScopeGuard([this] {
        if (!DBMemo->isReadOnly())
            DataSource1->UpdateRecord();
        DBMemo->setDataField(QString());
        DBMemo->setDataSource(nullptr);
        DataSource1->setDataSet(nullptr);
        DBMemo->setReadOnly(false);
        BusquedaTexto.clear();
    });
    ShowModal();
    return DBMemo->text();
}

QString VisualizarAsignarCampoTexto(plat::DataSet &dataSet, const QString &titulo, const QString &campo,
                                    QString &texto, const QString &opciones)
{
    if (!fGENEVMEM)
        return texto;
    texto = fGENEVMEM->Mostrar(dataSet, titulo, QStringLiteral("Visualizar/Asignar Campo de Texto"), campo, false, opciones.contains(QLatin1String("CursorAlFinal")));
    return texto;
}

void VisorCampoTexto(plat::DataSet &dataSet, const QString &titulo, const QString &campo)
{
    if (fGENEVMEM)
        fGENEVMEM->Mostrar(dataSet, titulo, QStringLiteral("Visor de Campo de Texto"), campo, true, false);
}
