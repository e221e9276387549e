#include "GENEW/data/ventanas/GENETEXT.h"

#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Controls.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <memory>

GeometriaDialogo TfGENETEXT::Geometria;

TfGENETEXT::TfGENETEXT(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENETEXT"));
    setCaption(QStringLiteral("Editor de Textos"));
    resize(265, 321);
    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);

    P1 = make<plat::Panel>(QStringLiteral("P1"), this);
    auto *caja = new QVBoxLayout(P1);
    caja->setContentsMargins(4, 4, 4, 4);
    Memo1 = make<plat::Memo>(QStringLiteral("Memo1"), P1);
    caja->addWidget(Memo1);

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(40);
    pbAceptar = make<plat::Button>(QStringLiteral("pbAceptar"), PanelControl);
    pbAceptar->setCaption(QStringLiteral("&Aceptar"));
    pbAceptar->setHint(QStringLiteral("Aceptar los datos actuales"));
    pbAceptar->setModalResult(plat::mrOk);
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), PanelControl);
    pbCancelar->setCaption(QStringLiteral("&Cancelar"));
    pbCancelar->setHint(QStringLiteral("Abandonar sin asignar los datos"));
    pbCancelar->setModalResult(plat::mrCancel);
    pbCancelar->setCancelButton(true);
    auto *fila = new QHBoxLayout(PanelControl);
    fila->addStretch();
    fila->addWidget(pbAceptar);
    fila->addWidget(pbCancelar);
    fila->addStretch();

    columna->addWidget(P1, 1);
    columna->addWidget(PanelControl);

    Geometria.aplicar(*this, plat::poScreenCenter);
    OnShow = [this](QObject *) { FormShow(); };
    OnClose = [this](QObject *, plat::CloseAction &) { FormClose(); };
}

void TfGENETEXT::FormShow()
{
    pbAceptar->setFocus();
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
}

void TfGENETEXT::FormClose()
{
    Geometria.guardar(*this);
}

QString EditarTexto(const QString &opciones, const QString &texto)
{
    const QString formato = LeerValorDeLista(QStringLiteral("Formato"), opciones);
    if (!formato.isEmpty())
        TfGENETEXT::Geometria.leerFormato(formato);
    auto dialogo = std::make_unique<TfGENETEXT>();
    dialogo->afterConstruction();
    dialogo->setCaption(LeerValorDeLista(QStringLiteral("Titulo"), opciones));
    dialogo->Memo1->setText(texto);
    if (dialogo->ShowModal() != plat::mrOk)
        return texto;
    return dialogo->Memo1->text();
}
