#!/usr/bin/env python3
"""tools/check-layers.py run on small throw-away source trees."""

import os
import subprocess
import sys
import tempfile
import textwrap
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                      "check-layers.py")


class CheckLayers(unittest.TestCase):
    def tree(self, files):
        """A source tree holding files {relative path: text}; returns the run's result."""
        root = tempfile.TemporaryDirectory()
        self.addCleanup(root.cleanup)
        for rel, text in files.items():
            path = os.path.join(root.name, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(textwrap.dedent(text))
        return subprocess.run([sys.executable, SCRIPT, root.name], capture_output=True,
                              text=True, check=False)

    # A tree that keeps every rule: platform <- logging <- core <- gui <- main.
    CLEAN = {
        "platform/Paths.h": "#pragma once\n#include <QString>\n",
        "platform/Paths.cpp": '#include "Paths.h"\n',
        "platform/win32/Paths.cpp": '#include "Paths.h"\n#include <windows.h>\n',
        "logging/Log.h": '#pragma once\n#include "Paths.h"\n',
        "logging/Log.cpp": '#include "Log.h"\n',
        "app/core/Cuit.h": "#pragma once\n#include <QString>\n#include <QAction>\n",
        "app/core/Cuit.cpp": """\
            #include "Cuit.h"
            #include "Log.h"
            /* an old note:
            #include "Gone.h"
            #include <QWidget>
            */
            #include "moc_Cuit.cpp"
            """,
        "app/gui/Window.h": "#pragma once\n#include <QWidget>\n#include <QtWidgets/QLabel>\n",
        "app/gui/Window.cpp": '#include "Window.h"\n#include "Cuit.h"\n#include "ui_Window.h"\n',
        "app/main.cpp": '#include "Window.h"\n#include <QApplication>\n',
        "tests/tst_Cuit.cpp": '#include "Missing.h"\n#include "Window.h"\n',
    }

    def test_clean_tree_passes_and_reports_the_graph(self):
        r = self.tree(self.CLEAN)
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertIn("Include cycles between units: 0", r.stdout)
        self.assertRegex(r.stdout, r"app/gui +-> app/core \(1\)")
        self.assertRegex(r.stdout, r"app/core +-> logging \(1\)")
        # The Windows file joins the unit of its header: two files, one unit.
        self.assertRegex(r.stdout, r"platform +3 files +\d+ lines +1 units")
        self.assertIn("Layers: OK", r.stdout)

    def test_cycle_between_units_fails_naming_them(self):
        files = dict(self.CLEAN)
        files["app/core/Pem.h"] = "#pragma once\n"
        files["app/core/Pem.cpp"] = '#include "Pem.h"\n#include "Cuit.h"\n'
        files["app/core/Cuit.cpp"] = '#include "Cuit.h"\n#include "Pem.h"\n'
        # A cycle through a Windows file: platform/win32/Paths.cpp is platform/Paths.
        files["platform/Drives.h"] = "#pragma once\n"
        files["platform/Drives.cpp"] = '#include "Drives.h"\n#include "Paths.h"\n'
        files["platform/win32/Paths.cpp"] = '#include "Paths.h"\n#include "Drives.h"\n'
        r = self.tree(files)
        self.assertEqual(r.returncode, 1, r.stdout)
        self.assertIn("Include cycles between units: 2", r.stdout)
        self.assertIn("(2 units): app/core/Cuit, app/core/Pem", r.stdout)
        self.assertIn("(2 units): platform/Drives, platform/Paths", r.stdout)
        self.assertIn('app/core/Cuit.cpp:2 includes "Pem.h"', r.stdout)
        self.assertIn('platform/win32/Paths.cpp:2 includes "Drives.h"', r.stdout)

    def test_layer_reaching_up_fails(self):
        files = dict(self.CLEAN)
        files["app/core/Cuit.cpp"] = '#include "Cuit.h"\n#include "Window.h"\n'
        files["app/gui/widgets/Edit.cpp"] = '#include "Window.h"\n'
        files["logging/Log.cpp"] = '#include "Log.h"\n#include "Cuit.h"\n'
        r = self.tree(files)
        self.assertEqual(r.returncode, 1, r.stdout)
        self.assertIn('app/core/Cuit.cpp:2: #include "Window.h": app/core may not include '
                      "app/gui", r.stdout)
        self.assertIn("app/gui/widgets may not include app/gui", r.stdout)
        self.assertIn("logging/Log.cpp:2", r.stdout)
        self.assertIn("Forbidden includes: 3", r.stdout)

    def test_widgets_header_outside_the_window_layers_fails(self):
        files = dict(self.CLEAN)
        files["app/core/Cuit.h"] = "#pragma once\n#include <QMessageBox>\n"
        files["app/request/Gen.cpp"] = "#include <QtWidgets/QWidget>\n#include <QtWidgets>\n"
        files["images/Icons.cpp"] = "#include <QPixmap>\n#include <QLabel>\n"
        r = self.tree(files)
        self.assertEqual(r.returncode, 1, r.stdout)
        self.assertIn("app/core/Cuit.h:2: #include <QMessageBox>: app/core may not use "
                      "Qt Widgets", r.stdout)
        self.assertIn("app/request/Gen.cpp:1: #include <QtWidgets/QWidget>", r.stdout)
        self.assertIn("app/request/Gen.cpp:2: #include <QtWidgets>", r.stdout)
        self.assertIn("images/Icons.cpp:2: #include <QLabel>", r.stdout)
        self.assertNotIn("QPixmap", r.stdout)

    def test_unknown_include_and_folder_without_layer_fail(self):
        files = dict(self.CLEAN)
        files["app/core/Cuit.cpp"] = '#include "Cuit.h"\n#include "Nowhere.h"\n'
        files["app/extras/Thing.cpp"] = "int x;\n"
        r = self.tree(files)
        self.assertEqual(r.returncode, 1, r.stdout)
        self.assertIn('app/core/Cuit.cpp:2: #include "Nowhere.h" names no file', r.stdout)
        self.assertIn("app/extras/: source files in a folder without a layer", r.stdout)

    def test_tree_before_the_move_is_one_app_layer(self):
        files = {
            "platform/Paths.h": "#pragma once\n",
            "app/Cuit.h": "#pragma once\n#include \"Paths.h\"\n",
            "app/Window.cpp": '#include "Cuit.h"\n#include <QWidget>\n',
            "app/main.cpp": '#include "Cuit.h"\n',
        }
        r = self.tree(files)
        self.assertEqual(r.returncode, 0, r.stdout)
        self.assertRegex(r.stdout, r"app +-> platform \(1\)")
        self.assertRegex(r.stdout, r"app +3 files")


if __name__ == "__main__":
    unittest.main()
