#pragma once
#include <QIcon>
#include <QString>

namespace plat {
class SpeedButton;
}

// The pictures of the tool bar buttons of the SQL console, the statement runner and the
// report designer, found by the button's name, so that a button means the same in all three.
// A name without a picture gives a null icon.
QIcon IconoHerramienta(const QString &nombreBoton);

// The button shows its picture and no caption; its hint says what it does.
void PonerIconoHerramienta(plat::SpeedButton &boton);
