#pragma once
#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures the program loads by name: the four message icons of the message form
// ("INFORMACION", "EXCLAMACION", "INTERROGACION", "ERROR", 48×48) and the five pictures the
// form framework uses ("MANOD", "EUROPTS", "PTSEURO", "DOCEON", "DOCEOFF") and the main window's background ("FONDOMENU", 1024×768). They are the
// program's own drawings, painted on first use and kept for the rest of the run. An unknown
// name gives a null pixmap.
QPixmap ImagenPrograma(const QString &nombre);

// The same picture as an icon that is painted only when the icon is first drawn or asked for
// its pixmap: a menu entry gets its icon without the painting (and the font its text loads)
// before the entry is ever seen.
QIcon IconoPrograma(const QString &nombre);
