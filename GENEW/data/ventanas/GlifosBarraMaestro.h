#pragma once
#include <QIcon>

// The buttons of the master windows' bar that carry a picture.
enum class BotonBarraMaestro { Primero, Anterior, Siguiente, Ultimo, Eliminar, Agregar, Salir, Cancelar, Conforme, Refrescar };

// The button's picture: the program's own drawing in colour, and for the disabled state the
// same drawing in light grey, so that a button that cannot be pressed is plainly one.
QIcon GlifoBarraMaestro(BotonBarraMaestro boton);
