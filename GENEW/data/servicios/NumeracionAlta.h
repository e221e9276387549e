#pragma once
#include "platform/data/DataSet.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <random>

// The code a window gives a new record: the highest stored one + 1. Another user adding at
// the same moment may save a record under that code first; this one's post then fails on
// the key, and the record is numbered anew from what is stored now and posted again, with
// no message. However many users add at once, each refusal means another record was stored,
// so the numbering goes on until this one is stored too: it gives up only when the refusals
// go on for longer than a working server ever takes (`LimiteRenumeracionMs`). A code the
// user typed over the given one is theirs: its failure is told.
class NumeracionAlta
{
public:
    using Siguiente = std::function<QString()>;

    // Gives the record's field the next code and keeps how to find another.
    void numerar(plat::DataSet &tabla, const QString &campo, Siguiente siguiente);
    // The same with a code taken earlier (when the record was started); without a way to find
    // another, a failure on the key is told as before.
    void numerar(plat::DataSet &tabla, const QString &campo, const QString &dado, Siguiente siguiente);
    // As the table's post-error handler: a key violation of the record numbered here, still
    // under its given code, is numbered anew and retried.
    void trasFallo(plat::DataSet &tabla, const gp::Error &fallo, plat::DataAction &accion);

    // How long a record may go on being refused its new codes before the post fails.
    static constexpr qint64 LimiteRenumeracionMs = 60000;

private:
    void esperarTurno();

    QString campo_;
    QString dado_;   // the code given, as the field's text
    Siguiente siguiente_;
    int intentos_ = 0;           // refusals of this record so far
    QElapsedTimer renumerando_;  // since its first refusal
    std::minstd_rand azar_{std::random_device{}()};
};
