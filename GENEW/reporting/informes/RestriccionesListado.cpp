#include "GENEW/reporting/informes/RestriccionesListado.h"

#include "GENEW/reporting/informes/DisenoListado.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/QueryDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"

#include <algorithm>

VentanaLlamante leerVentanaLlamante(const plat::Form &ventana)
{
    VentanaLlamante leida;
    leida.esDialogoListado = ventana.objectName().compare(QLatin1String("fGENECPRO"), Qt::CaseInsensitive) == 0;
    leida.tieneRangoGruposAnalisis = ventana.findComponent(QStringLiteral("pbRangoGruposAnalisis")) != nullptr;
    for (QWidget *w = ventana.nextInFocusChain(); w && w != &ventana; w = w->nextInFocusChain()) {
        if (!ventana.isAncestorOf(w))
            continue;
        ControlLlamante control;
        control.nombre = w->objectName();
        control.habilitado = w->isEnabled();
        if (const auto *edit = qobject_cast<const plat::Edit *>(w)) {
            control.texto = edit->text();
        } else if (const auto *combo = qobject_cast<const plat::ComboBox *>(w)) {
            control.texto = combo->text();
        } else if (const auto *casilla = qobject_cast<const plat::CheckBox *>(w)) {
            control.tipo = ControlLlamante::Tipo::Casilla;
            control.texto = casilla->caption();
            control.marcado = casilla->isChecked();
        } else if (const auto *radio = qobject_cast<const plat::RadioButton *>(w)) {
            control.tipo = ControlLlamante::Tipo::Casilla;
            control.texto = radio->caption();
            control.marcado = radio->isChecked();
        } else {
            continue;
        }
        leida.controles << control;
    }
    return leida;
}

RestriccionesDialogo leerRestriccionesDialogo(const plat::Form &dialogo)
{
    RestriccionesDialogo leidas;
    if (const auto *rejilla = dialogo.findComponent<plat::StringGrid>(QStringLiteral("StringGrid")))
        for (int fila = 0; fila < rejilla->rowCount(); ++fila)
            leidas.rangos << QStringList{rejilla->cell(0, fila), rejilla->cell(1, fila), rejilla->cell(2, fila)};
    if (const auto *memo = dialogo.findComponent<plat::Memo>(QStringLiteral("MemoFiltros")))
        leidas.filtros = memo->text();
    return leidas;
}

QString textoRestriccionesVentana(const VentanaLlamante &ventana, const QString &rangosGruposAnalisis)
{
    QString texto;
    for (const ControlLlamante &control : ventana.controles) {
        if (!control.habilitado || control.nombre == QLatin1String("VisualizacionPrevia"))
            continue;
        // "Edit" goes from the control's name only: the user's values print as typed.
        if (control.tipo == ControlLlamante::Tipo::Edicion)
            texto += SepararPalabras(control.nombre).remove(QLatin1String("Edit")) + QStringLiteral(": ") + control.texto
                     + QStringLiteral(", ");
        else if (control.marcado)
            texto += control.texto + QStringLiteral(", ");
    }
    if (ventana.tieneRangoGruposAnalisis)
        texto += DescribirRangos(rangosGruposAnalisis);
    return sinSaltosDeLinea(texto);
}

QString textoRestriccionesDatos(const plat::DataSet *datos, const RestriccionesDialogo &dialogo)
{
    QString texto;
    if (const auto *consulta = dynamic_cast<const plat::QueryDataSet *>(datos);
        consulta && consulta->name().compare(QLatin1String("QryConsultasSQL"), Qt::CaseInsensitive) == 0) {
        texto = QStringLiteral("Sentencia SQL: ") + consulta->sql();
        if (!consulta->filter().isEmpty())
            texto += QStringLiteral(". Filtro: ") + consulta->filter();
    }
    for (int fila = 1; fila < dialogo.rangos.size(); ++fila) {
        const QStringList &r = dialogo.rangos[fila];
        const QString campo = r.value(0), desde = r.value(1), hasta = r.value(2);
        if (desde.isEmpty() && hasta.isEmpty())
            continue;
        texto += QStringLiteral("Desde %1: %2, Hasta %1: %3, ").arg(campo, desde, hasta);
    }
    if (!dialogo.filtros.isEmpty())
        texto += QStringLiteral(" Filtros: ") + dialogo.filtros;
    return sinSaltosDeLinea(texto);
}

CabeceraRestricciones::CabeceraRestricciones(plat::Form &ventana, BandaInforme &cabecera, int altoLogo)
    : QObject(cabecera.informe()), cabecera_(cabecera), alturaBase_(cabecera.Height)
{
    setObjectName(QStringLiteral("CabeceraRestricciones"));
    anotarTopes();
    memo_ = ventana.make<MemoInforme>(QStringLiteral("MemoRestricciones"), &cabecera);
    memo_->Left = 0;
    memo_->Top = altoLogo + 2;
    memo_->Font = QFont(QStringLiteral("Arial"), 8);
    memo_->FontColor = plat::clMaroon;
    memo_->WordWrap = true;
    memo_->Enabled = false;
    cabecera.BeforePrint = [this, &cabecera](QObject *, bool &) { ajustar(cabecera); };
}

CabeceraRestricciones *CabeceraRestricciones::de(Informe &informe)
{
    return informe.findChild<CabeceraRestricciones *>(QStringLiteral("CabeceraRestricciones"), Qt::FindDirectChildrenOnly);
}

void CabeceraRestricciones::anotarTopes()
{
    const auto anotado = [this](ControlInforme *control) {
        return std::any_of(topes_.cbegin(), topes_.cend(), [control](const auto &t) { return t.first == control; });
    };
    topes_.removeIf([](const auto &t) { return t.first.isNull(); });
    for (ControlInforme *control : cabecera_.controles())
        if (qobject_cast<EtiquetaInforme *>(control) && !anotado(control))
            topes_.append({control, control->Top});
}

void CabeceraRestricciones::empezarPrimeraPagina()
{
    anotarTopes();
    primeraPagina_ = true;
}

void CabeceraRestricciones::ajustar(BandaInforme &cabecera)
{
    static const QString prefijo = QStringLiteral("RESTRICCIONES Y OPCIONES DEL LISTADO: ");
    QString texto = textoCreacion_ + textoImpresion_;
    if (!texto.isEmpty())
        texto.prepend(prefijo);
    memo_->Lines = texto.isEmpty() ? QStringList() : QStringList{texto};
    const bool mostrar = primeraPagina_ && !texto.isEmpty();
    const int alto = altoMemoRestricciones(int(texto.size()), cabecera.landscape());
    memo_->Height = alto;
    if (Informe *informe = cabecera.informe())
        memo_->Width = int(informe->page()->imprimible().width());
    memo_->Enabled = mostrar;
    cabecera.Height = alturaBase_ + (mostrar ? alto : 0);
    for (const auto &[control, tope] : std::as_const(topes_))
        if (control)
            control->Top = mostrar && control->objectName() != QLatin1String("TituloNombreEmpresa") ? tope + alto : tope;
    primeraPagina_ = false;
}

