#include "app/PROYMENU.h"

TfPROYMENU *fPROYMENU = nullptr;

TfPROYMENU::TfPROYMENU(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fPROYMENU"));
    setFormStyle(plat::fsMDIForm);
    setCaption(QStringLiteral("Gestión de Proyectos"));
    setBounds(0, 0, 1024, 768);
}
