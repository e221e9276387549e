"""The layer check on small trees: what it lets through and what it refuses."""
import copy
import importlib.util
import pathlib
import sys
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve()
cargador = importlib.util.spec_from_file_location("layer_check", HERE.parents[2] / "tools" / "layer-check.py")
layer_check = importlib.util.module_from_spec(cargador)
cargador.loader.exec_module(layer_check)


class LayerCheckTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = pathlib.Path(self.tmp.name)
        self.saved = copy.deepcopy(layer_check.LAYERS)
        # The rooms in their order: windows over the module over the services.
        self.write("GENEW/data/servicios/Servicio.h", "")
        self.write("GENEW/data/modulo/Modulo.h", '#include "GENEW/data/servicios/Servicio.h"\n')
        self.write("GENEW/data/ventanas/Ventana.cpp",
                   '#include "GENEW/data/modulo/Modulo.h"\n#include "GENEW/data/servicios/Servicio.h"\n')
        self.write("projects/comun/Compartido.h", '#include "GENEW/data/ventanas/Ventana.h"\n')
        self.write("projects/gamas/Gama.cpp", '#include "projects/comun/Compartido.h"\n')

    def tearDown(self):
        layer_check.LAYERS.clear()
        layer_check.LAYERS.update(self.saved)
        self.tmp.cleanup()

    def write(self, relative, text):
        path = self.root / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, encoding="utf-8")

    def faults(self):
        return layer_check.check(self.root)

    def test_includes_that_point_down_pass(self):
        self.assertEqual(self.faults(), [])
        self.assertEqual(layer_check.main(str(self.root)), 0)

    def test_a_climbing_include_is_refused(self):
        self.write("GENEW/data/servicios/Servicio.cpp", '#include "GENEW/data/modulo/Modulo.h"\n')
        faults = self.faults()
        # The module already stands on the services: the climb closes a circle as well.
        self.assertEqual(len(faults), 2)
        self.assertIn("GENEW/data/servicios/Servicio.cpp:1: GENEW/data/servicios includes GENEW/data/modulo/Modulo.h",
                      faults[0])
        self.assertEqual(faults[1],
                         "include circle across layers: GENEW/data/modulo -> GENEW/data/servicios -> GENEW/data/modulo")
        self.assertEqual(layer_check.main(str(self.root)), 1)

    def test_a_service_reaching_the_widget_layers_is_refused(self):
        self.write("GENEW/data/servicios/Pintor.cpp", '#include "platform/ui/Canvas.h"\n#include "GENEW/runtime/Geneinic.h"\n')
        self.write("GENEW/data/servicios/Respuesta.cpp", '#include "GENEW/runtime/RespuestaSQL.h"\n')
        faults = self.faults()
        self.assertEqual([f.split(":")[1] for f in faults], ["1", "2"])
        self.assertTrue(all(f.startswith("GENEW/data/servicios/Pintor.cpp") for f in faults))

    def test_project_rooms_meet_only_through_what_they_share(self):
        self.write("projects/proyectos/Proyecto.h", "")
        self.write("projects/gamas/Listado.cpp", '#include "projects/proyectos/Proyecto.h"\n')
        self.write("projects/operarios/Operario.cpp", '#include "projects/calendario/Calendario.h"\n')
        faults = self.faults()
        self.assertEqual(len(faults), 1)
        self.assertIn("projects/gamas includes projects/proyectos/Proyecto.h", faults[0])

    def test_a_file_outside_the_rooms_is_refused(self):
        self.write("GENEW/data/Suelto.cpp", "")
        self.write("projects/Suelto.h", "")
        self.assertEqual(sorted(self.faults()), ["GENEW/data/Suelto.cpp: outside the rooms of GENEW/data",
                                                 "projects/Suelto.h: outside the rooms of projects"])

    def test_an_include_circle_across_rooms_is_refused(self):
        # Even a table that let two rooms stand on each other would not let a circle through.
        layer_check.LAYERS["GENEW/data/servicios"] = layer_check.LAYERS["GENEW/data/servicios"] | {"GENEW/data/modulo"}
        self.write("GENEW/data/servicios/Servicio.cpp", '#include "GENEW/data/modulo/Modulo.h"\n')
        faults = self.faults()
        self.assertNotIn("a layer it does not stand on", " ".join(faults))
        self.assertIn("include circle across layers: GENEW/data/modulo -> GENEW/data/servicios -> GENEW/data/modulo",
                      faults)
        self.assertTrue(any(f.startswith("the layer table itself has a circle") for f in faults))

    def test_tests_stand_where_the_layer_they_test_does(self):
        self.write("tests/data/servicios/Servicio_test.cpp", '#include "GENEW/data/ventanas/Ventana.h"\n')
        self.write("tests/data/Ventana_test.cpp", '#include "GENEW/data/ventanas/Ventana.h"\n')
        faults = self.faults()
        self.assertEqual(len(faults), 1)
        self.assertTrue(faults[0].startswith("tests/data/servicios/Servicio_test.cpp:1:"))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[1:])
