"""The installed program: every program and library `cmake --install` puts beside the
executable is named in README.md, so that a copy made from the README runs whole (a copy
without the chart module shows no chart)."""
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

RAIZ = pathlib.Path(__file__).resolve().parents[2]


class InstalacionTest(unittest.TestCase):
    build = None

    def test_el_readme_nombra_cada_programa_y_biblioteca_instalados(self):
        with tempfile.TemporaryDirectory() as destino:
            subprocess.run(["cmake", "--install", self.build, "--prefix", destino], check=True,
                           stdout=subprocess.DEVNULL)
            bin_ = pathlib.Path(destino) / "bin"
            binarios = sorted(f.name for f in bin_.iterdir() if f.is_file() and f.read_bytes()[:4] == b"\x7fELF")
        self.assertIn("gestion-proyectos", binarios)
        self.assertIn("libgp_graficos.so", binarios)
        nombrados = set(re.findall(r"`([^`\s]+)`", (RAIZ / "README.md").read_text(encoding="utf-8")))
        self.assertEqual([b for b in binarios if b not in nombrados], [])


if __name__ == "__main__":
    InstalacionTest.build = sys.argv.pop(1)
    unittest.main()
