#include "GENEW/reporting/informes/GeneracionInforme.h"

#include "GENEW/reporting/informes/Informe.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"

#include <algorithm>

namespace {
// Margins come in millimetres: a band that reaches the limit within this still fits.
constexpr double kHolgura = 0.01;
}

// ---- pages ------------------------------------------------------------------------------

MaquetadorInforme::MaquetadorInforme(Informe &informe, ContextoImpresion &contexto, AlCerrarPagina alCerrar)
    : informe_(informe), contexto_(contexto), alCerrar_(std::move(alCerrar)),
      imprimible_(informe.page()->imprimible()), bandas_(informe.bandas()),
      cabecera_(informe.banda(TipoBanda::CabeceraPagina)), pie_(informe.banda(TipoBanda::PiePagina))
{
}

MaquetadorInforme::Medida MaquetadorInforme::medir(BandaInforme &banda)
{
    Medida m;
    if (!banda.Enabled)
        return m;
    m.imprimir = true;
    banda.BeforePrint(&banda, m.imprimir);
    if (!m.imprimir)
        return m;
    m.alto = banda.Height;
    // A band grows only with the controls that grew past their own design height.
    for (ControlInforme *control : banda.controles()) {
        if (!control->Enabled)
            continue;
        const double diseno = control->Top + control->Height;
        const double necesario = control->prepararImpresion(contexto_);
        if (necesario > diseno + kHolgura)
            m.alto = std::max(m.alto, necesario);
    }
    return m;
}

void MaquetadorInforme::colocar(BandaInforme &banda, TipoBanda tipo, double y, double alto, double limite)
{
    BandaImpresa impresa;
    impresa.tipo = tipo;
    impresa.nombre = banda.objectName();
    impresa.area = QRectF(imprimible_.left(), y, imprimible_.width(), alto);
    if (y + alto > limite + kHolgura) {
        impresa.area.setHeight(std::max(0.0, limite - y));
        impresa.recortada = true;
    }
    if (banda.Color != plat::clWhite)
        impresa.primitivas << RectanguloPagina{impresa.area, Qt::NoPen, plat::toQColor(banda.Color), false};
    impresa.controlDePrimitiva.fill(-1, impresa.primitivas.size());
    const QList<ControlInforme *> controles = banda.controles();
    for (int i = 0; i < controles.size(); ++i) {
        if (!controles[i]->Enabled)
            continue;
        controles[i]->emitir(impresa.area.topLeft(), impresa.primitivas);
        impresa.controlDePrimitiva.resize(impresa.primitivas.size(), i);
    }
    pagina_.bandas << std::move(impresa);
}

void MaquetadorInforme::imprimir(BandaInforme &banda)
{
    imprimir(banda, banda.BandType);
}

void MaquetadorInforme::imprimir(BandaInforme &banda, TipoBanda tipo)
{
    asegurarPagina();
    const Medida m = medir(banda);
    if (!m.imprimir)
        return;
    if (hayCuerpo_ && (banda.ForceNewPage || y_ + m.alto > limite_ + kHolgura))
        saltarPagina(&banda != grupoEnCurso_);
    colocar(banda, tipo, y_, m.alto, limite_);
    y_ = std::min(y_ + m.alto, limite_);
    hayCuerpo_ = true;
    imprimirHijas(banda, tipo, false);
}

void MaquetadorInforme::imprimirHijas(BandaInforme &padre, TipoBanda tipo, bool enCabecera)
{
    for (BandaInforme *banda : std::as_const(bandas_)) {
        auto *hija = qobject_cast<BandaHija *>(banda);
        if (!hija || hija->ParentBand != &padre)
            continue;
        if (!enCabecera) {
            imprimir(*hija, tipo);
            continue;
        }
        const Medida m = medir(*hija);
        if (!m.imprimir)
            continue;
        colocar(*hija, tipo, y_, m.alto, limite_);
        y_ = std::min(y_ + m.alto, limite_);
        imprimirHijas(*hija, tipo, true);
    }
}

void MaquetadorInforme::asegurarPagina()
{
    if (!abierta_)
        abrirPagina(false);
}

void MaquetadorInforme::abrirPagina(bool reimprimirGrupo)
{
    pagina_ = PaginaGenerada();
    pagina_.numero = cerradas_ + 1;
    pagina_.tamanio = informe_.page()->tamanio();
    contexto_.pagina = pagina_.numero;
    abierta_ = true;
    hayCuerpo_ = false;
    y_ = imprimible_.top();
    limite_ = imprimible_.bottom() - (pie_ && pie_->Enabled ? pie_->Height : 0);
    if (cabecera_ && (pagina_.numero > 1 || informe_.FirstPageHeader)) {
        const Medida m = medir(*cabecera_);
        if (m.imprimir) {
            colocar(*cabecera_, TipoBanda::CabeceraPagina, y_, m.alto, limite_);
            y_ = std::min(y_ + m.alto, limite_);
            imprimirHijas(*cabecera_, TipoBanda::CabeceraPagina, true);
        }
    }
    if (reimprimirGrupo && grupoEnCurso_ && grupoEnCurso_->ReprintOnNewPage)
        imprimir(*grupoEnCurso_);
}

void MaquetadorInforme::cerrarPagina(bool ultima)
{
    if (pie_ && (!ultima || informe_.LastPageFooter)) {
        const Medida m = medir(*pie_);
        if (m.imprimir)
            colocar(*pie_, TipoBanda::PiePagina, imprimible_.bottom() - m.alto, m.alto, imprimible_.bottom());
    }
    abierta_ = false;
    ++cerradas_;
    alCerrar_(std::make_shared<const PaginaGenerada>(std::move(pagina_)));
}

void MaquetadorInforme::saltarPagina(bool reimprimirGrupo)
{
    cerrarPagina(false);
    abrirPagina(reimprimirGrupo);
}

void MaquetadorInforme::terminar()
{
    if (abierta_)
        cerrarPagina(true);
}

// ---- the run -------------------------------------------------------------------------------

GeneracionInforme::GeneracionInforme(Informe &informe, MaquetadorInforme::AlCerrarPagina alCerrar)
    : informe_(informe), entregar_(std::move(alCerrar)),
      maquetador_(informe, contexto_, [this](PaginaCompartida pagina) { cerradas_ << std::move(pagina); })
{
    contexto_.tituloInforme = informe.ReportTitle;
    contexto_.fechaImpresion = Ahora();
    contexto_.medidas = &medidas_;
}

GeneracionInforme::~GeneracionInforme()
{
    liberarDatos();
}

void GeneracionInforme::liberarDatos()
{
    if (controlesDesactivados_ && !vigilante_.isNull())
        datos_->enableControls();
    controlesDesactivados_ = false;
}

bool GeneracionInforme::empezar()
{
    bool imprimir = true;
    informe_.BeforePrint(&informe_, imprimir);
    if (!imprimir)
        return false;

    datos_ = informe_.DataSet && informe_.DataSet->active() ? informe_.DataSet : nullptr;
    for (BandaInforme *banda : informe_.bandas()) {
        if (!banda->Enabled)
            continue;
        if (auto *grupo = qobject_cast<GrupoInforme *>(banda)) {
            const ExpresionLeida leida = leerExpresionInforme(grupo->Expression);
            if (leida.tipo != ExpresionLeida::Tipo::Campos)
                throw gp::Error(QStringLiteral("Expresión no válida en el informe: \"%1\"").arg(grupo->Expression));
            Grupo g{grupo, {}, {}};
            if (datos_)
                for (const QString &nombre : leida.campos)
                    g.campos << &datos_->fieldByName(nombre);
            grupos_ << g;
        } else if (auto *sub = qobject_cast<SubDetalleInforme *>(banda)) {
            subdetalles_ << sub;
        }
        for (ControlInforme *control : banda->controles()) {
            auto *calculado = qobject_cast<ControlCalculadoInforme *>(control);
            if (!calculado || !calculado->Enabled)
                continue;
            if (auto *expresion = qobject_cast<ExpresionInforme *>(calculado))
                leerExpresionInforme(expresion->Expression);   // refused even without data
            if (datos_) {
                calculado->enlazar(*datos_);
                calculados_ << calculado;
            }
        }
    }
    detalle_ = informe_.banda(TipoBanda::Detalle);

    agotado_ = true;
    if (datos_) {
        vigilante_ = datos_->notifier();
        datos_->disableControls();
        controlesDesactivados_ = true;
        datos_->first();
        agotado_ = datos_->eof();
        total_ = agotado_ ? 0 : datos_->recordCount();
    }
    if (agotado_ && !informe_.PrintIfEmpty) {
        liberarDatos();
        return false;
    }
    return true;
}

bool GeneracionInforme::datosDisponibles() const
{
    return !controlesDesactivados_ || (!vigilante_.isNull() && datos_->active());
}

bool GeneracionInforme::avanzar(QDeadlineTimer plazo)
{
    if (terminada_)
        return true;
    if (datosDisponibles() && datos_ && !agotado_ && marca_.isValid() && !(datos_->bookmark() == marca_))
        datos_->gotoBookmark(marca_);
    do {
        if (interrumpida_ || !datosDisponibles()) {
            interrumpida_ = true;
            terminada_ = true;
            liberarDatos();
            return true;
        }
        if (agotado_) {
            finalizar();
            return true;
        }
        procesarRegistro();
        entregarPaginas();
    } while (!plazo.hasExpired());
    if (!agotado_ && datosDisponibles())
        marca_ = datos_->bookmark();
    return false;
}

void GeneracionInforme::procesarRegistro()
{
    int cambio = -1;
    for (int i = 0; i < grupos_.size() && cambio < 0; ++i) {
        // Compared where they stand: a record of the same group allocates nothing.
        const auto &campos = grupos_[i].campos;
        bool igual = !primero_ && campos.size() == grupos_[i].valores.size();
        for (int j = 0; igual && j < campos.size(); ++j)
            igual = datos_->heldValue(*campos[j]) == grupos_[i].valores[j];
        if (!igual)
            cambio = i;
    }
    if (cambio >= 0) {
        if (!primero_)
            cerrarGrupos(cambio);
        for (int j = cambio; j < grupos_.size(); ++j) {
            grupos_[j].valores.clear();
            for (const plat::Field *campo : std::as_const(grupos_[j].campos))
                grupos_[j].valores << campo->value();
            maquetador_.ponerGrupoEnCurso(grupos_[j].banda);
            maquetador_.imprimir(*grupos_[j].banda);
        }
    }
    primero_ = false;
    for (ControlCalculadoInforme *calculado : std::as_const(calculados_))
        calculado->acumular();
    if (detalle_)
        maquetador_.imprimir(*detalle_);
    for (SubDetalleInforme *sub : std::as_const(subdetalles_)) {
        if (!sub->DataSet || !sub->DataSet->active())
            continue;
        for (sub->DataSet->first(); !sub->DataSet->eof(); sub->DataSet->next())
            maquetador_.imprimir(*sub);
    }
    datos_->next();
    ++hechos_;
    agotado_ = datos_->eof();
}

void GeneracionInforme::cerrarGrupos(int desde)
{
    for (int j = int(grupos_.size()) - 1; j >= desde; --j)
        if (BandaInforme *pie = grupos_[j].banda->FooterBand)
            maquetador_.imprimir(*pie);
}

void GeneracionInforme::finalizar()
{
    if (!primero_)
        cerrarGrupos(0);
    maquetador_.ponerGrupoEnCurso(nullptr);
    if (BandaInforme *resumen = informe_.banda(TipoBanda::Resumen))
        maquetador_.imprimir(*resumen);
    maquetador_.asegurarPagina();
    maquetador_.terminar();
    terminada_ = true;
    liberarDatos();
    entregarPaginas();
}

void GeneracionInforme::entregarPaginas()
{
    if (cerradas_.isEmpty())
        return;
    const bool enRecorrido = controlesDesactivados_ && !agotado_;
    const plat::Bookmark posicion = enRecorrido ? datos_->bookmark() : plat::Bookmark();
    for (PaginaCompartida &pagina : cerradas_) {
        if (interrumpida_)
            break;
        entregar_(std::move(pagina));
        if (informe_.impresora()->cancelada())
            interrumpida_ = true;
    }
    cerradas_.clear();
    // Whoever was told may have moved the dataset: the run goes on from its own record.
    if (enRecorrido && datosDisponibles() && !(datos_->bookmark() == posicion))
        datos_->gotoBookmark(posicion);
}

int GeneracionInforme::progreso() const
{
    return total_ > 0 ? int(std::min<qint64>(100, hechos_ * 100 / total_)) : 100;
}
