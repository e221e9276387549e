#include "GENEW/data/ventanas/GENERINI.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/RejillaClaveValor.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <memory>

GeometriaDialogo TfGENERINI::Geometria;

namespace {

constexpr int kAlturaFila = 18;
constexpr int kAnchoNombres = 145;
const QString kSaltoEnValor = QStringLiteral("·");

} // namespace

TfGENERINI::TfGENERINI(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENERINI"));
    setCaption(QStringLiteral("Editor de Registro INI"));
    resize(420, 300);
    setKeyPreview(true);

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    PanelGrid = make<plat::Panel>(QStringLiteral("PanelGrid"), this);
    auto *cajaRejilla = new QVBoxLayout(PanelGrid);
    cajaRejilla->setContentsMargins(0, 0, 0, 0);
    StringGrid = make<plat::ValueListEditor>(QStringLiteral("StringGrid"), PanelGrid);
    StringGrid->setDefaultRowHeight(kAlturaFila);
    StringGrid->setColWidth(0, kAnchoNombres);
    StringGrid->setTitleCaptions(QStringLiteral("Clave"), QStringLiteral("Valor"));
    cajaRejilla->addWidget(StringGrid);

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(36);
    pbAceptar = make<plat::Button>(QStringLiteral("pbAceptar"), PanelControl);
    pbAceptar->setCaption(QStringLiteral("&Aceptar"));
    pbAceptar->setHint(QStringLiteral("Aceptar los datos"));
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), PanelControl);
    pbCancelar->setCaption(QStringLiteral("&Cancelar"));
    pbCancelar->setHint(QStringLiteral("Abandonar sin aceptar los datos"));
    pbCancelar->setModalResult(plat::mrCancel);
    pbCancelar->setCancelButton(true);
    auto *fila = new QHBoxLayout(PanelControl);
    fila->setSpacing(2);
    fila->addStretch();
    fila->addWidget(pbAceptar);
    fila->addWidget(pbCancelar);
    fila->addStretch();
    columna->addWidget(PanelGrid, 1);
    columna->addWidget(PanelControl);

    alturaSinRejilla_ = 4;   // the grid's frame
    anchoDiseno_ = width();
    if (Geometria.left == 0 && Geometria.top == 0) {
        setPosition(plat::poScreenCenter);
    } else {
        setPosition(plat::poDesigned);
        setLeft(Geometria.left);
        setTop(Geometria.top);
    }
    if (Geometria.height != 0)
        setHeight(Geometria.height);
    if (Geometria.width != 0) {
        setWidth(Geometria.width);
        anchoDiseno_ = Geometria.width;
    }

    connect(pbAceptar, &QPushButton::clicked, this, &TfGENERINI::pbAceptarClick);
    StringGrid->OnEditButtonClick = [this](QObject *) { StringGridEditButtonClick(); };
    StringGrid->OnDrawCell = [this](QObject *, int col, int row, const QRect &rect, plat::GridDrawState) {
        StringGridDrawCell(col, row, rect);
    };
    StringGrid->OnSelectCell = [this](QObject *, int, int row, bool &puede) {
        puede = !LineaRegistroINI{StringGrid->cell(0, row), {}}.esCabecera();
    };
    OnShow = [this](QObject *) { FormShow(); };
    OnClose = [this](QObject *, plat::CloseAction &) { FormClose(); };
    OnResize = [this](QObject *) { FormResize(); };
    OnKeyDown = [this](QObject *sender, int &tecla, plat::ShiftState estado) {
        if (tecla == plat::VK_ESCAPE) {
            Close();
            tecla = 0;
        } else if (fGENEINIC) {
            fGENEINIC->ProcesarTeclaFormulario(sender, tecla, estado);
        }
    };
    OnKeyPress = [](QObject *sender, QChar &tecla) {
        if (fGENEINIC)
            fGENEINIC->ProcesarTeclaPulsada(sender, tecla);
    };
}

void TfGENERINI::cargar(const QList<LineaRegistroINI> &lineas, const QString &titulosColumnas)
{
    StringGrid->setTitleCaptions(titulosColumnas.section(u';', 0, 0), titulosColumnas.section(u';', 1, 1));
    StringGrid->setRowCount(StringGrid->fixedRows());
    const QFontMetrics medidas(StringGrid->font());
    int ancho = kAnchoNombres;
    for (const LineaRegistroINI &l : lineas) {
        StringGrid->insertRow(l.nombre, l.valor);
        const DescriptorRegistroINI d = descriptorDe(l.nombre);
        plat::ItemProp &propiedades = StringGrid->itemProp(l.nombre);
        if (d.tipo == DescriptorRegistroINI::Tipo::Lista) {
            propiedades.Style = plat::esPickList;
            propiedades.PickList = d.valores;
        } else if (d.tipo != DescriptorRegistroINI::Tipo::Libre) {
            propiedades.Style = plat::esEllipsis;
        }
        ancho = std::max(ancho, medidas.horizontalAdvance(SepararPalabras(l.nombre)));
    }
    StringGrid->setColWidth(0, ancho + 10);
}

QList<LineaRegistroINI> TfGENERINI::lineas() const
{
    QList<LineaRegistroINI> out;
    for (int fila = StringGrid->fixedRows(); fila < StringGrid->rowCount(); ++fila)
        out << LineaRegistroINI{StringGrid->cell(0, fila), StringGrid->cell(1, fila)};
    return out;
}

DescriptorRegistroINI TfGENERINI::descriptorDe(const QString &nombre) const
{
    for (const QString &linea : Descriptores) {
        const LineaRegistroINI l = LineaRegistroINI::leer(linea);
        if (l.nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return DescriptorRegistroINI::leer(l.valor);
    }
    return {};
}

int TfGENERINI::AlturaCalculada() const
{
    return alturaRejillaClaveValor(StringGrid->rowCount(), kAlturaFila, alturaSinRejilla_ + PanelControl->height());
}

void TfGENERINI::FormShow()
{
    PanelControl->show();
    StringGrid->setEditing(true);
    setHeight(AlturaCalculada());
    pbAceptar->setFocus();
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
}

void TfGENERINI::FormClose()
{
    Geometria.left = left();
    Geometria.top = top();
    Geometria.height = height();
    Geometria.width = anchoDiseno_;
}

void TfGENERINI::FormResize()
{
    ajustarRejillaClaveValor(*this, *StringGrid, AlturaCalculada());
}

void TfGENERINI::StringGridDrawCell(int col, int row, const QRect &rect)
{
    const bool cabecera = row < StringGrid->fixedRows();
    int color = plat::clBlack;
    if (cabecera)
        color = plat::clNavy;
    else if (col == 1 && LineaRegistroINI{StringGrid->cell(0, row), {}}.esCabecera())
        color = plat::clBtnFace;
    const QString texto = StringGrid->cell(col, row);
    pintarCeldaClaveValor(*StringGrid, col, row, rect, col == 0 && !cabecera ? SepararPalabras(texto) : texto, color);
}

void TfGENERINI::StringGridEditButtonClick()
{
    const int fila = StringGrid->row();
    if (fila < StringGrid->fixedRows())
        return;
    const QString nombre = StringGrid->cell(0, fila);
    const DescriptorRegistroINI d = descriptorDe(nombre);
    if (d.tipo == DescriptorRegistroINI::Tipo::Rango) {
        const auto [desde, hasta] = PartesRango(StringGrid->cell(1, fila));
        const QString nuevoDesde = MensajePedirDato(QStringLiteral("Introduzca el valor Desde para ") + nombre, desde);
        const QString nuevoHasta = MensajePedirDato(QStringLiteral("Introduzca el valor Hasta para ") + nombre, hasta);
        StringGrid->setCell(1, fila, nuevoDesde + QStringLiteral("...") + nuevoHasta);
    } else if (d.tipo == DescriptorRegistroINI::Tipo::GruposAnalisis && ModuloDatos) {
        QString rangos = StringGrid->cell(1, fila);
        rangos.replace(kSaltoEnValor, QStringLiteral("\r\n"));
        QString respuesta = ModuloDatos->SeleccionarRangosGruposAnalisis(d.perfiles, rangos);
        respuesta.replace(QStringLiteral("\r\n"), kSaltoEnValor);
        StringGrid->setCell(1, fila, respuesta);
    }
}

void TfGENERINI::pbAceptarClick()
{
    setModalResult(plat::mrOk);
}

QString EditarRegistroINI(const QString &plantilla, const QString &actual, const QString &titulo,
                          const QString &titulosColumnas, const QString &descriptores, const QString &opciones)
{
    const QList<LineaRegistroINI> fusion = FusionarRegistroINI(plantilla, actual);
    const QString formato = LeerValorDeLista(QStringLiteral("Formato"), opciones);
    if (!formato.isEmpty())
        TfGENERINI::Geometria.leerFormato(formato);
    auto dialogo = std::make_unique<TfGENERINI>();
    dialogo->afterConstruction();
    dialogo->Descriptores = DividirLineas(descriptores);
    dialogo->cargar(fusion, titulosColumnas);
    dialogo->setCaption(titulo.isEmpty() ? QStringLiteral("Editor de Registro INI") : titulo);
    const QList<LineaRegistroINI> resultado = dialogo->ShowModal() == plat::mrOk ? dialogo->lineas() : fusion;
    QStringList textos;
    for (const LineaRegistroINI &l : resultado)
        textos << l.texto();
    return UnirLineas(textos);
}

QString TModuloDatos::EditarRegistroINI(const QString &plantilla, const QString &actual, const QString &titulo,
                                        const QString &titulosColumnas, const QString &descriptores,
                                        const QString &opciones)
{
    return ::EditarRegistroINI(plantilla, actual, titulo, titulosColumnas, descriptores, opciones);
}
