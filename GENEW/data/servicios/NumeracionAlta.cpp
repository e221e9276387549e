#include "GENEW/data/servicios/NumeracionAlta.h"

#include "platform/data/Field.h"

#include <algorithm>
#include <chrono>
#include <thread>

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
        || tabla.state() != plat::DataSetState::Insert)
        return;
    if (intentos_ == 0)
        renumerando_.start();
    else if (renumerando_.hasExpired(LimiteRenumeracionMs))
        return;
    plat::Field *f = tabla.findField(campo_);
    if (!f || f->asString() != dado_)
        return;
    esperarTurno();
    const QString otro = siguiente_();
    // The same code again: the key refused is not this one's (another unique index).
    if (otro == dado_)
        return;
    ++intentos_;
    f->setAsString(otro);
    dado_ = f->asString();
    accion = plat::DataAction::Retry;
}

void NumeracionAlta::esperarTurno()
{
    // The first refusals are numbered again at once. Programs that keep clashing are adding
    // in step: a short random pause, longer the more refusals (at most 20 ms), sets them apart.
    if (intentos_ < 3)
        return;
    const int maximoMs = std::min(intentos_, 20);
    std::this_thread::sleep_for(std::chrono::microseconds(
        std::uniform_int_distribution<int>(0, maximoMs * 1000)(azar_)));
}
