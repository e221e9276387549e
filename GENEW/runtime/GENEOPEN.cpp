#include "GENEW/runtime/GENEOPEN.h"

#include "platform/ui/Controls.h"
#include "platform/ui/ShellTreeView.h"

#include <QLabel>
#include <QVBoxLayout>

TfGENEOPEN::TfGENEOPEN(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEOPEN"));
    setCaption(QStringLiteral("Abrir"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setPosition(plat::poMainFormCenter);
    resize(360, 420);

    PanelTitulo = make<plat::Panel>(QStringLiteral("PanelTitulo"), this);
    PanelTitulo->setFixedHeight(48);
    Titulo = make<QLabel>(QStringLiteral("Titulo"), PanelTitulo);
    Titulo->setAlignment(Qt::AlignCenter);
    Titulo->setWordWrap(true);
    QFont negrita = Titulo->font();
    negrita.setBold(true);
    Titulo->setFont(negrita);
    Titulo->setStyleSheet(QStringLiteral("color: navy;"));
    auto *titulo = new QVBoxLayout(PanelTitulo);
    titulo->setContentsMargins(6, 4, 6, 4);
    titulo->addWidget(Titulo);

    ShellTreeView = make<plat::ShellTreeView>(QStringLiteral("ShellTreeView"), this);

    Panel2 = make<plat::Panel>(QStringLiteral("Panel2"), this);
    Panel2->setFixedHeight(41);
    pbAceptar = make<plat::Button>(QStringLiteral("pbAceptar"), Panel2);
    pbAceptar->setCaption(QStringLiteral("&Aceptar"));
    pbAceptar->setDefaultButton(true);
    pbAceptar->setFixedSize(97, 27);
    connect(pbAceptar, &QPushButton::clicked, this, [this] { setModalResult(plat::mrOk); });
    // No button leaves the picker: Esc (which the tree leaves to the window) closes it as its
    // close box does, choosing nothing.
    OnKeyDown = [this](QObject *, int &Key, plat::ShiftState Shift) {
        if (Key == plat::VK_ESCAPE && Shift == plat::ShiftState()) {
            Key = 0;
            Close();
        }
    };
    auto *botones = new QHBoxLayout(Panel2);
    botones->addStretch();
    botones->addWidget(pbAceptar);
    botones->addStretch();

    auto *forma = new QVBoxLayout(this);
    forma->setContentsMargins(0, 0, 0, 0);
    forma->setSpacing(0);
    forma->addWidget(PanelTitulo);
    forma->addWidget(ShellTreeView, 1);
    forma->addWidget(Panel2);
}
