#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// The sample company of the project master's tests and pictures: a customer, two
// operators, project "1" with headings, sub-chapters and side rows in BLOBTAB, DOCUTRON
// and CONTACTO, project "2" without lines and a project with a non-numeric code.
inline QStringList SentenciasProyectoMuestra()
{
    return {
        "INSERT INTO CLIENTE (Codigo, Nombre, PersonaContacto, Telefono) VALUES "
        "(7, 'Construcciones Ebro', 'Marta Lasheras', '976 123 456')",
        "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (3, 'Ana Ruiz')",
        "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (5, 'Luis Peña')",
        "INSERT INTO PROYECT (Codigo, Descripcion, CodigoCliente, NombreCliente, Director, FechaAceptacion, "
        "FechaEntrega, Situacion) VALUES ('1', 'Nave industrial Cuarte', 7, 'Construcciones Ebro', 3, "
        "'2026-09-01 00:00:00', '2027-01-29 00:00:00', 'Abierto')",
        "INSERT INTO PROYECT (Codigo, Descripcion, Director, FechaAceptacion, FechaEntrega, Situacion) VALUES "
        "('2', 'Reforma de oficinas', 5, '2026-10-01 00:00:00', '2026-12-18 00:00:00', 'Abierto')",
        "INSERT INTO PROYECT (Codigo, Descripcion, Situacion) VALUES ('X-90', 'Código de texto', 'Cerrado')",
        "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, DescripcionAbreviada, Responsable) VALUES "
        "('1', 1, '0001', 'Proyecto y licencias', '0001', 3)",
        "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, FechaInicio, FechaFinal, TiempoPrevisto, "
        "GradoAvance, Responsable, Importe) VALUES ('1', 2, '0001.01', 'Proyecto básico', '2026-09-01 00:00:00', "
        "'2026-09-25 00:00:00', 80, 'Terminado', 3, 12500)",
        "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, FechaInicio, FechaFinal, TiempoPrevisto, "
        "GradoAvance, Responsable) VALUES ('1', 3, '0001.02', 'Licencia de obra', '2026-09-28 00:00:00', "
        "'2026-10-30 00:00:00', 20, '50', 5)",
        "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, Responsable) VALUES "
        "('1', 4, '0002', 'Estructura', 3)",
        "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, FechaInicio, FechaFinal, TiempoPrevisto, "
        "GradoAvance, Responsable) VALUES ('1', 5, '0002.01', 'Cimentación', '2026-11-02 00:00:00', "
        "'2026-11-27 00:00:00', 160, '25', 5)",
        "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, FechaInicio, FechaFinal, TiempoPrevisto, "
        "GradoAvance, Responsable) VALUES ('1', 6, '0002.01.01', 'Zapatas', '2026-11-02 00:00:00', "
        "'2026-11-13 00:00:00', 60, '', 5)",
        "INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, FechaInicio, FechaFinal, TiempoPrevisto, "
        "GradoAvance, Responsable, Importe) VALUES ('1', 7, '0003', 'Cubierta y cerramientos', '2026-12-01 00:00:00', "
        "'2027-01-22 00:00:00', 1250.5, '', 3, 48000)",
        "INSERT INTO BLOBTAB (NombreTabla, ClaveTabla, IdObjeto, Nombre) VALUES ('PROYECT', '1', 'DocumentoWord', "
        "'Memoria')",
        "INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre, Ubicacion) VALUES ('PROYECT', '1', 'Planos', "
        "'/srv/planos')",
        "INSERT INTO CONTACTO (NombreTabla, CodigoTabla, Linea) VALUES ('PROYECT', '1', 1)",
    };
}
