#include "projects/comun/GENEMTEX.h"

TfGENEMTEX *fGENEMTEX = nullptr;

TfGENEMTEX::TfGENEMTEX(QWidget *parent)
    : FormularioMaestro(parent, QStringLiteral("fGENEMTEX"), QStringLiteral("Maestro de Textos")), instancia_(fGENEMTEX, this)
{
    comportamiento.comprobarCierre = true;
    comportamiento.grabarMemos = true;
    comportamiento.soloMinimizar = true;
    setBounds(0, 0, 560, 380);
    Table1->setTableName(QStringLiteral("TEXTO"));

    QWidget *area = areaDatos();
    const auto etiqueta = [&](const QString &nombre, const QString &texto, int top) {
        auto *l = plat::place(make<plat::Label>(nombre, area), 12, top, 80, 16);
        l->setCaption(texto);
        return l;
    };
    const auto enlazar = [this](plat::DataBound *control, const QString &campo) {
        control->setDataSource(DataSource1);
        control->setDataField(campo);
    };
    LabelCodigo = etiqueta(QStringLiteral("LabelCodigo"), QStringLiteral("Código"), 16);
    EditCodigo = plat::place(make<plat::DBEdit>(QStringLiteral("EditCodigo"), area), 100, 12, 300, 24);
    enlazar(EditCodigo, QStringLiteral("Codigo"));
    LabelDescripcion = etiqueta(QStringLiteral("LabelDescripcion"), QStringLiteral("Descripción"), 46);
    EditDescripcion = plat::place(make<plat::DBEdit>(QStringLiteral("EditDescripcion"), area), 100, 42, 440, 24);
    enlazar(EditDescripcion, QStringLiteral("Descripcion"));
    LabelTipo = etiqueta(QStringLiteral("LabelTipo"), QStringLiteral("Tipo"), 76);
    EditTipo = plat::place(make<plat::DBComboBox>(QStringLiteral("EditTipo"), area), 100, 72, 160, 24);
    EditTipo->setStyle(plat::ComboBox::csDropDown);
    EditTipo->setItems({QStringLiteral("Plantilla")});
    enlazar(EditTipo, QStringLiteral("Tipo"));
    LabelTexto = etiqueta(QStringLiteral("LabelTexto"), QStringLiteral("Texto"), 106);
    MemoTexto = plat::place(make<plat::DBMemo>(QStringLiteral("MemoTexto"), area), 100, 102, 440, 190);
    enlazar(MemoTexto, QStringLiteral("Texto"));
    establecerCampoClave(EditCodigo);
}
