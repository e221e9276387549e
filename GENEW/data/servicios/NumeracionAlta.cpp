#include "GENEW/data/servicios/NumeracionAlta.h"

#include "platform/data/Field.h"

namespace {

// Another user adding record after record could keep taking the next code; the post then
// fails as before rather than trying for ever.
constexpr int kIntentos = 20;

} // namespace

void NumeracionAlta::numerar(plat::DataSet &tabla, const QString &campo, Siguiente siguiente)
{
    const QString dado = siguiente();
    numerar(tabla, campo, dado, std::move(siguiente));
}

void NumeracionAlta::numerar(plat::DataSet &tabla, const QString &campo, const QString &dado, Siguiente siguiente)
{
    campo_ = campo;
    siguiente_ = std::move(siguiente);
    intentos_ = 0;
    plat::Field &f = tabla.fieldByName(campo_);
    f.setAsString(dado);
    dado_ = f.asString();
}

void NumeracionAlta::trasFallo(plat::DataSet &tabla, const gp::Error &fallo, plat::DataAction &accion)
{
    const auto *motor = dynamic_cast<const gp::DatabaseError *>(&fallo);
    if (!motor || motor->kind() != gp::DatabaseErrorKind::KeyViolation || !siguiente_
        || tabla.state() != plat::DataSetState::Insert || intentos_ >= kIntentos)
        return;
    plat::Field *f = tabla.findField(campo_);
    if (!f || f->asString() != dado_)
        return;
    const QString otro = siguiente_();
    // The same code again: the key refused is not this one's (another unique index).
    if (otro == dado_)
        return;
    ++intentos_;
    f->setAsString(otro);
    dado_ = f->asString();
    accion = plat::DataAction::Retry;
}
