#pragma once
#include <QString>

// Message wrappers by kind: every unit shows its messages through these, never through the
// message form directly. They pass the text unchanged to the installed message sink.

void MensajeInformacion(const QString &texto);
void MensajeAviso(const QString &texto);
// Answers "SI" or "NO".
QString MensajeConfirmacion(const QString &texto);
// After an error message the program ends (the message form sees to that).
void MensajeError(const QString &texto);
// Answers the typed text (empty on cancel); propuesta pre-fills the answer.
QString MensajePedirDato(const QString &texto, const QString &propuesta = QString());

// The plain system box: the text as it is with one button, not the program's message window.
// It passes the sink as the kind "S" (TipoCuadroSistema), so unattended runs record it too.
inline const QString TipoCuadroSistema = QStringLiteral("S");
void MensajeSistema(const QString &texto);

// Hands the four texts of the progress window, in this order, to the sink.
void IndicarProgreso(const QString &texto1, const QString &texto2, const QString &texto3,
                     const QString &texto4);
