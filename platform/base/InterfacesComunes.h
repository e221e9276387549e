#pragma once
#include "platform/base/Gancho.h"
#include "platform/base/TipoCampo.h"

#include <QObject>
#include <QSize>
#include <optional>

// The small interfaces through which the common routines reach fields, forms and controls.
// The common routines know nothing of the data and form layers: those layers implement
// these interfaces (the data layer for its fields, the form layer for its forms and
// controls) and hand them to the routines.

// A dataset field, as AnchoPorDefectoCampo sees it. Implemented by the data layer's field.
class InterfazCampo
{
public:
    virtual ~InterfazCampo() = default;
    // The field's type.
    virtual TFieldType tipoDato() const = 0;
    // The display width in characters that the field itself gives by default (for a
    // string, its size).
    virtual int anchoPorDefecto() const = 0;
};

// The components a form or data module owns, in creation order, as BuscarComponente walks
// them. Implemented by the form layer's form and data-module classes.
class ListaComponentes
{
public:
    virtual ~ListaComponentes() = default;
    virtual int numeroComponentes() const = 0;
    // Component number i, from 0; its objectName is the component's name.
    virtual QObject *componente(int i) const = 0;
};

// A control that PosicionarControl places inside its parent. Implemented by the form
// layer's control wrapper.
class ControlPosicionable
{
public:
    virtual ~ControlPosicionable() = default;
    // Width and height of the control in pixels.
    virtual QSize tamano() const = 0;
    // Width and height of its parent control; none when it has no parent.
    virtual std::optional<QSize> tamanoPadre() const = 0;
    virtual void ponerIzquierda(int izquierda) = 0;
    virtual void ponerArriba(int arriba) = 0;
};

// The application's main form, which stands in for the parent of a control without one.
// The form layer installs it when the main window is created.
class FormularioPrincipal
{
public:
    virtual ~FormularioPrincipal() = default;
    virtual QSize tamano() const = 0;
};

// The main form (not owned), installed by the form layer's application while it has one;
// nullptr when there is none.
Gancho<FormularioPrincipal *> &ganchoFormularioPrincipal();
FormularioPrincipal *formularioPrincipal();
