#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// The rules of the per-user settings that need no table: hidden fields, authorised users,
// search indexes, mail settings.

// True when the field is hidden by the user's list (comma-separated fragments, capitals
// ignored): a fragment hides every field whose name holds it, except a field named exactly
// in a "-" item. Empty items (a doubled or final comma) hide nothing.
bool EsCampoNoVisible(const QString &camposNoVisibles, const QString &campo);

// True when the comma-separated list holds the user as a whole item (blanks around items
// ignored); an empty list authorises everyone.
bool UsuarioEnListaAutorizados(const QString &usuariosAutorizados, const QString &usuario);

// The index number of the table in an IndicesBusqueda value ("TABLA:2,OTRA:1"); -1 when the
// table has no entry or its number is not a number.
int IndiceBusquedaDeTabla(const QString &indicesBusqueda, const QString &tablaSQL);

// The seven mail keys, in the order the mail settings text lists them.
const QStringList &ClavesSMTP();
// The mail settings text: seven lines key (with "(Masivo)" for mass mailing) "=" value,
// CR LF between them, none after the last. The user's values when any is not empty, else
// those of the general parameters' memo.
QString TextoConfiguracionSMTP(bool masivo, const std::function<QString(const QString &clave)> &valorUsuario,
                               const QString &cfgCorreoElectronico);
