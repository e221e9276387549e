#include "GENEW/data/ventanas/GENEVLIS.h"

#include "GENEW/data/ventanas/GENESELE.h"
#include "GENEW/data/ventanas/GENETEXT.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/RejillaClaveValor.h"
#include "GENEW/data/servicios/lista/OpcionesListaDatos.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <memory>

QString ModoVisor = VisorCampos;

namespace {

// The window's place and height at its last closing in this run.
struct GeometriaVisor
{
    int left = 0;
    int top = 0;
    int height = 0;
    int width = 0;
};
GeometriaVisor geometriaVisor;

const QChar kSeparadorMemo(u'ÿ');
const QString kSaltoEnMemo = QStringLiteral("·");
constexpr int kAlturaFila = 16;

QString sinSaltos(const QString &texto)
{
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return t;
}

QString saltosComoPuntos(const QString &texto)
{
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), kSaltoEnMemo);
    t.replace(QLatin1Char('\n'), kSaltoEnMemo);
    return t;
}

QString comoHora(const QDateTime &fecha)
{
    return FormatearFechaHora(QStringLiteral("hh:nn:ss"), fecha);
}

bool esNombreHora(const QString &nombre)
{
    return nombre.contains(QStringLiteral("HORA"), Qt::CaseInsensitive);
}

QStringList lineasDe(const QString &texto)
{
    QStringList lineas = texto.split(QRegularExpression(QStringLiteral("\r?\n")));
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    return lineas;
}

// The first key value of the record chosen in the search of a table; empty when none was.
QString primeraClaveBuscada(const QString &tabla)
{
    const QVariant eleccion = BuscarRegistro(tabla, 0);
    return eleccion.isNull() ? QString() : eleccion.toList().value(0).toString();
}

} // namespace

TfGENEVLIS::TfGENEVLIS(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEVLIS"));
    setCaption(QStringLiteral("Visor de Campos"));
    resize(376, 300);
    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);

    PanelGrid = make<plat::Panel>(QStringLiteral("PanelGrid"), this);
    auto *cajaRejilla = new QVBoxLayout(PanelGrid);
    cajaRejilla->setContentsMargins(0, 0, 0, 0);
    StringGrid = make<plat::StringGrid>(QStringLiteral("StringGrid"), PanelGrid);
    StringGrid->setColCount(2);
    StringGrid->setRowCount(2);
    StringGrid->setFixedRows(1);
    StringGrid->setDefaultRowHeight(kAlturaFila);
    StringGrid->setColWidth(0, 150);
    StringGrid->setColWidth(1, 218);
    cajaRejilla->addWidget(StringGrid);
    pbAutoajustar = make<plat::SpeedButton>(QStringLiteral("pbAutoajustar"), PanelGrid);
    pbAutoajustar->setHint(QStringLiteral("Autoajustar la primera columna al contenido"));
    pbAutoajustar->setGeometry(1, 1, 12, 12);
    pbAutoajustar->raise();

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(36);
    pbGrabar = make<plat::Button>(QStringLiteral("pbGrabar"), PanelControl);
    pbGrabar->setCaption(QStringLiteral("&Grabar"));
    pbGrabar->setHint(QStringLiteral("Grabar los datos"));
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), PanelControl);
    pbCancelar->setCaption(QStringLiteral("&Cancelar"));
    pbCancelar->setHint(QStringLiteral("Abandonar sin grabar los datos"));
    pbCancelar->setModalResult(plat::mrCancel);
    pbCancelar->setCancelButton(true);
    auto *fila = new QHBoxLayout(PanelControl);
    fila->setSpacing(2);
    fila->addStretch();
    fila->addWidget(pbGrabar);
    fila->addWidget(pbCancelar);
    fila->addStretch();
    columna->addWidget(PanelGrid, 1);
    columna->addWidget(PanelControl);

    alturaSinRejilla_ = 6 + 36 + 4;
    anchoDiseno_ = 376;
    if (geometriaVisor.left == 0 && geometriaVisor.top == 0) {
        setPosition(plat::poScreenCenter);
    } else {
        setPosition(plat::poDesigned);
        setBounds(geometriaVisor.left, geometriaVisor.top, geometriaVisor.width, geometriaVisor.height);
    }

    connect(pbGrabar, &QPushButton::clicked, this, &TfGENEVLIS::pbGrabarClick);
    connect(pbAutoajustar, &QToolButton::clicked, this, &TfGENEVLIS::pbAutoajustarClick);
    connect(StringGrid, &QTableWidget::cellDoubleClicked, this, &TfGENEVLIS::StringGridDblClick);
    StringGrid->OnDrawCell = [this](QObject *, int col, int row, const QRect &rect, plat::GridDrawState) {
        StringGridDrawCell(col, row, rect);
    };
    StringGrid->OnSelectCell = [this](QObject *, int, int row, bool &puede) {
        puede = !EsFilaTitulo(StringGrid->cell(0, row));
    };
    OnShow = [this](QObject *) { FormShow(); };
    OnClose = [this](QObject *, plat::CloseAction &) { FormClose(); };
    OnResize = [this](QObject *) { FormResize(); };
    setKeyPreview(true);
    OnKeyDown = [this](QObject *sender, int &tecla, plat::ShiftState estado) {
        const bool control = estado.testFlag(plat::ssCtrl);
        if (tecla == plat::VK_ESCAPE) {
            Close();
            tecla = 0;
        } else if (tecla == plat::VK_F2 && estado == plat::ShiftState()) {
            StringGridDblClick();
            tecla = 0;
        } else if (control && ((ModoVisor == VisorCampos && tecla == 'Z')
                               || (ModoVisor != VisorCampos && tecla == plat::VK_ADD))) {
            Close();
            tecla = 0;
        } else if (fGENEINIC) {
            fGENEINIC->ProcesarTeclaFormulario(sender, tecla, estado);
        }
    };
}

int TfGENEVLIS::AlturaCalculada() const
{
    const int controles = alturaSinRejilla_ + (PanelControl->isVisibleTo(this) ? PanelControl->height() : 0);
    return alturaRejillaClaveValor(StringGrid->rowCount(), kAlturaFila, controles);
}

void TfGENEVLIS::FormShow()
{
    StringGrid->setCell(0, 0, QStringLiteral("      ") + StringGrid->cell(0, 0).trimmed());
    const bool soloLectura = ModoVisor == VisorCampos;
    PanelControl->setVisible(!soloLectura);
    if (soloLectura)
        setCaption(QStringLiteral("Visor de Campos"));
    else if (ModoVisor == VisorCamposUsuario)
        setCaption(QStringLiteral("Introducción de Campos de Usuario"));
    StringGrid->setEditing(!soloLectura);
    setHeight(AlturaCalculada());
    for (int fila = StringGrid->fixedRows(); fila < StringGrid->rowCount(); ++fila)
        if (!EsFilaTitulo(StringGrid->cell(0, fila))) {
            StringGrid->setCurrentCell(1, fila);
            break;
        }
    StringGrid->setFocus();
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
}

void TfGENEVLIS::FormClose()
{
    geometriaVisor = {left(), top(), height(), anchoDiseno_};
}

void TfGENEVLIS::FormResize()
{
    ajustarRejillaClaveValor(*this, *StringGrid, AlturaCalculada());
}

void TfGENEVLIS::StringGridDrawCell(int col, int row, const QRect &rect)
{
    const bool cabecera = row < StringGrid->fixedRows();
    QString texto = StringGrid->cell(col, row);
    int color = plat::clNavy;
    if (col == 0) {
        if (!cabecera && !OpcionesVisor.contains(QStringLiteral("RespetarNombresCampos")))
            texto = AbreviarNombreCampo(texto, 1);
    } else {
        color = EsFilaTitulo(StringGrid->cell(0, row)) ? plat::clBtnFace : plat::clBlack;
    }
    pintarCeldaClaveValor(*StringGrid, col, row, rect, texto, color, cabecera);
}

QString TfGENEVLIS::descriptorDe(const QString &nombre) const
{
    for (const QString &linea : DescriptoresCampos)
        if (linea.section(QLatin1Char('>'), 1, 1) == nombre)
            return linea;
    return QString();
}

QString TfGENEVLIS::memoDe(const QString &nombre) const
{
    for (const QString &linea : lineasDe(CamposMemo))
        if (linea.section(kSeparadorMemo, 0, 0) == nombre)
            return linea.section(kSeparadorMemo, 1);
    return QString();
}

void TfGENEVLIS::fijarMemo(const QString &nombre, const QString &valor)
{
    QStringList lineas = lineasDe(CamposMemo);
    for (QString &linea : lineas)
        if (linea.section(kSeparadorMemo, 0, 0) == nombre)
            linea = nombre + kSeparadorMemo + valor;
    CamposMemo = lineas.isEmpty() ? QString() : lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void TfGENEVLIS::StringGridDblClick()
{
    const int fila = StringGrid->row();
    if (fila < StringGrid->fixedRows())
        return;
    const QString nombre = StringGrid->cell(0, fila);
    if (ModoVisor == VisorAgregarDatos) {
        const QString descriptor = descriptorDe(nombre);
        const QString comprobacion = descriptor.section(QLatin1Char('>'), 0, 0);
        if (comprobacion.startsWith(QLatin1Char('?'))) {
            QString lista = descriptor.section(QLatin1Char('>'), 2, 2);
            lista.replace(QLatin1Char('/'), QStringLiteral("\r\n"));
            const QString elegido = ::SeleccionarDeLista(
                QStringLiteral("Titulo=Selección de ") + SepararPalabras(nombre) + QStringLiteral("\r\nModo=Normal"), lista);
            if (!elegido.isEmpty())
                StringGrid->setCell(1, fila, elegido);
        } else if (!comprobacion.isEmpty()) {
            const QString clave = primeraClaveBuscada(comprobacion);
            if (!clave.isEmpty())
                StringGrid->setCell(1, fila, clave);
        }
    }
    if (CamposMemo.contains(nombre + kSeparadorMemo)) {
        QString texto = memoDe(nombre);
        texto.replace(kSaltoEnMemo, QStringLiteral("\r\n"));
        const QString editado = EditarTexto(QStringLiteral("Titulo=Contenido del Campo: ") + AbreviarNombreCampo(nombre, 1)
                                                + QStringLiteral("\r\nFormato=0,0,400,500"),
                                            texto);
        const QString valor = saltosComoPuntos(editado);
        fijarMemo(nombre, valor);
        StringGrid->setCell(1, fila, valor);
    }
}

bool TfGENEVLIS::ValidarDatos()
{
    if (ModoVisor != VisorAgregarDatos)
        return true;
    bool correcto = true;
    for (int fila = StringGrid->fixedRows(); fila < StringGrid->rowCount(); ++fila) {
        const QString nombre = StringGrid->cell(0, fila);
        const QString valor = StringGrid->cell(1, fila);
        const QString descriptor = descriptorDe(nombre);
        const QString comprobacion = descriptor.section(QLatin1Char('>'), 0, 0);
        if (comprobacion.isEmpty())
            continue;
        if (comprobacion.startsWith(QLatin1Char('?'))) {
            const QStringList permitidos = descriptor.section(QLatin1Char('>'), 2, 2).split(QLatin1Char('/'));
            if (!permitidos.contains(valor, Qt::CaseSensitive)) {
                MensajeAviso(QStringLiteral("¡El valor para el campo ") + SepararPalabras(nombre) + QStringLiteral(" es incorrecto!"));
                correcto = false;
            }
        } else if (!descriptor.section(QLatin1Char('>'), 3, 3).contains(QStringLiteral("NoValidar")) && ModuloDatos
                   && !ModuloDatos->ExisteClaveEnTabla(comprobacion, valor)) {
            MensajeAviso(QStringLiteral("¡No existe el valor para el campo ") + SepararPalabras(nombre + QStringLiteral("!")));
            correcto = false;
        }
    }
    return correcto;
}

void TfGENEVLIS::pbGrabarClick()
{
    if (ValidarDatos())
        setModalResult(plat::mrOk);
}

void TfGENEVLIS::pbAutoajustarClick()
{
    const QFontMetrics medidas(StringGrid->font());
    int mayor = 0;
    for (int fila = 0; fila < StringGrid->rowCount(); ++fila)
        mayor = std::max(mayor, medidas.horizontalAdvance(AbreviarNombreCampo(StringGrid->cell(0, fila), 1)) + 8);
    const int aumento = mayor - StringGrid->columnWidth(0);
    if (aumento > 0) {
        StringGrid->setColWidth(0, mayor);
        setWidth(width() + aumento);
    }
}

// ---- openers ----------------------------------------------------------------------------

void MostrarCamposRegistro(plat::DataSet &dataSet)
{
    try {
        dataSet.refresh();
    } catch (...) {
    }
    ModoVisor = VisorCampos;
    auto visor = std::make_unique<TfGENEVLIS>();
    visor->afterConstruction();
    plat::StringGrid &rejilla = *visor->StringGrid;
    rejilla.setColCount(2);
    rejilla.setRowCount(dataSet.fieldCount() + 1);
    rejilla.setFixedRows(1);
    rejilla.setCell(0, 0, QStringLiteral("Campo"));
    rejilla.setCell(1, 0, QStringLiteral("Valor"));
    for (int i = 0; i < dataSet.fieldCount(); ++i) {
        const plat::Field &campo = dataSet.field(i);
        if (ModuloDatos && ModuloDatos->EsCampoNoVisible(campo.fieldName()))
            continue;
        rejilla.setCell(0, i + 1, campo.fieldName());
        const bool hora = campo.dataType() == ftDateTime && esNombreHora(campo.fieldName());
        rejilla.setCell(1, i + 1, hora ? comoHora(campo.asDateTime()) : sinSaltos(campo.asString()));
        if (campo.dataType() == ftMemo)
            visor->CamposMemo += campo.fieldName() + kSeparadorMemo + saltosComoPuntos(campo.asString()) + QStringLiteral("\r\n");
    }
    visor->ShowModal();
}

QString MostrarVisorDatos(const QString &opciones, const QString &datos)
{
    const QString definicion = LeerValorDeLista(QStringLiteral("DefinicionCampos"), opciones);
    const QStringList definiciones = definicion.isEmpty() ? QStringList() : definicion.split(QLatin1Char(';'));
    QStringList valores = datos.split(QStringLiteral("\r\n"));
    while (valores.size() < definiciones.size() + 1)
        valores << QString();

    ModoVisor = VisorAgregarDatos;
    auto visor = std::make_unique<TfGENEVLIS>();
    visor->afterConstruction();
    visor->setCaption(LeerValorDeLista(QStringLiteral("Titulo"), opciones));
    visor->OpcionesVisor = LeerValorDeLista(QStringLiteral("Opciones"), opciones);
    plat::StringGrid &rejilla = *visor->StringGrid;
    rejilla.setColCount(2);
    rejilla.setRowCount(definiciones.size() + 1);
    rejilla.setFixedRows(1);
    rejilla.setCell(0, 0, QStringLiteral("Campo"));
    rejilla.setCell(1, 0, QStringLiteral("Valor"));
    for (int i = 0; i < definiciones.size(); ++i) {
        const QStringList piezas = definiciones[i].split(QLatin1Char(','));
        const auto pieza = [&piezas](int n) { return piezas.value(n - 1); };
        const QString nombre = pieza(1);
        rejilla.setCell(0, i + 1, nombre);
        if (pieza(2) == QStringLiteral("ftDateTime") && esNombreHora(nombre)) {
            rejilla.setCell(1, i + 1, comoHora(TextoAFechaHora(valores[i])));
        } else {
            rejilla.setCell(1, i + 1, sinSaltos(valores[i]));
            if (pieza(2) == QStringLiteral("ftMemo"))
                visor->CamposMemo += nombre + kSeparadorMemo + saltosComoPuntos(valores[i]) + QStringLiteral("\r\n");
        }
        visor->DescriptoresCampos << DescriptoresDatosVisor(definiciones[i]);
    }
    if (visor->ShowModal() != plat::mrOk)
        return QString();
    QString resultado;
    for (int fila = 1; fila < rejilla.rowCount(); ++fila)
        resultado += rejilla.cell(0, fila) + QLatin1Char('=') + rejilla.cell(1, fila) + QStringLiteral("\r\n");
    return resultado;
}
