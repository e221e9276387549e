#pragma once
#include <QString>

// The stored name (FILTRO's Descripcion of that kind: "SQL" statements, "GeneradorInformes"
// reports) a menu caption stands for. Without a translation language the caption is the
// name. With one, the caption is a translation: the name is the TXIDIOMA key, among the
// stored names of the kind, whose text is the caption; each stored name goes into the
// question as a literal of its own (Entrecomillar). No stored name, no key or a failing
// question give an empty name.
QString NombreAlmacenadoDeTitulo(const QString &titulo, const QString &tipo);
