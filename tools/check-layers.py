#!/usr/bin/env python3
"""Checks that the libraries of the source tree depend one way down.

    tools/check-layers.py [SOURCE_DIR]

Every C/C++ file of the layer folders below belongs to the layer of its
folder; a unit is a .h/.cpp pair of one base name in one layer (a .cpp in
platform/win32/ joins the unit of its platform/ header; a main.cpp or a file
without a pair is a unit of its own). Quoted includes are resolved by file
name to the unit holding that header.

Fails (exit status 1) on
  - an include cycle between units,
  - an include from a layer into one it may not depend on,
  - a Qt Widgets header included from a layer that may not use Widgets,
  - a quoted include that names no file of the tree (generated headers aside),
  - a source file in a folder that has no layer.
Prints the layer graph, the number of cycles and the lines of each layer.
"""

import os
import re
import sys
from collections import defaultdict

# The layers: folder (relative to the source tree) -> (the layers it may
# include besides itself, whether it may include Qt Widgets headers).
# Every allowed layer is spelled out, the transitive ones too.
_BELOW_GUI = ["app/cli", "app/certificates", "app/request", "app/reminders", "app/core",
              "wizard", "dialogs", "images", "logging", "platform"]
LAYERS = {
    "platform":         ([], False),
    "logging":          (["platform"], False),
    "images":           (["logging", "platform"], False),
    "wizard":           (["platform"], True),
    "dialogs":          (["platform"], True),
    "app/core":         (["platform", "logging"], False),
    "app/request":      (["app/core", "platform", "logging"], False),
    "app/certificates": (["app/core", "platform", "logging"], False),
    "app/reminders":    (["app/core", "platform", "logging"], False),
    "app/cli":          (["app/certificates", "app/request", "app/reminders", "app/core",
                          "platform", "logging"], False),
    "app/gui/widgets":  (_BELOW_GUI, True),
    "app/gui":          (["app/gui/widgets"] + _BELOW_GUI, True),
    # app/ itself: main.cpp, and whatever has not moved into a sub-folder yet.
    "app":              (["app/gui", "app/gui/widgets"] + _BELOW_GUI, True),
}

# Sub-folders that belong to the layer of their parent folder.
FOLDER_ALIASES = {
    "platform/win32": "platform",
}

# Folders never read (relative names, or any folder of these names).
SKIPPED_FOLDERS = {"tests", "bench", "tools", "packaging", "cmake", "art", "assets"}

SOURCE_SUFFIXES = (".h", ".hpp", ".hh", ".c", ".cc", ".cpp", ".cxx")
HEADER_SUFFIXES = (".h", ".hpp", ".hh")

QT_INCLUDE_DIR = "/usr/include/x86_64-linux-gnu/qt6"

# Used when Qt's headers are not on this machine: the common Widgets headers.
FALLBACK_WIDGETS_HEADERS = {
    "QtWidgets", "QAbstractButton", "QAbstractItemView", "QAbstractScrollArea",
    "QAbstractSpinBox", "QApplication", "QBoxLayout", "QButtonGroup", "QCheckBox",
    "QComboBox", "QDialog", "QDialogButtonBox", "QFileDialog", "QFormLayout", "QFrame",
    "QGridLayout", "QGroupBox", "QHBoxLayout", "QHeaderView", "QInputDialog", "QLabel",
    "QLayout", "QLayoutItem", "QLineEdit", "QListView", "QListWidget", "QMainWindow",
    "QMenu", "QMenuBar", "QMessageBox", "QPlainTextEdit", "QProgressBar", "QProgressDialog",
    "QPushButton", "QRadioButton", "QScrollArea", "QScrollBar", "QSizePolicy", "QSpacerItem",
    "QSpinBox", "QSplitter", "QStackedLayout", "QStackedWidget", "QStatusBar", "QStyle",
    "QStyleFactory", "QStyleOption", "QStylePainter", "QSystemTrayIcon", "QTabBar",
    "QTabWidget", "QTableView", "QTableWidget", "QTextBrowser", "QTextEdit", "QToolBar",
    "QToolButton", "QToolTip", "QTreeView", "QTreeWidget", "QVBoxLayout", "QWhatsThis",
    "QWidget", "QWizard", "QWizardPage", "QAccessibleWidget", "QCompleter",
}

INCLUDE_RE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
GENERATED_RE = re.compile(r'(^|/)(moc_[^/]*|ui_[^/]*\.h|qrc_[^/]*|[^/]*\.moc)$|_autogen/')


def widgets_headers():
    """The names that reach Qt Widgets: <QWidget>, <qwidget.h>, <QtWidgets/...>."""
    folder = os.path.join(QT_INCLUDE_DIR, "QtWidgets")
    if not os.path.isdir(folder):
        return set(FALLBACK_WIDGETS_HEADERS)
    names = set(os.listdir(folder))
    # A few headers of Qt Gui and Qt Core keep a forwarding copy in QtWidgets.
    for other in ("QtGui", "QtCore"):
        other_folder = os.path.join(QT_INCLUDE_DIR, other)
        if os.path.isdir(other_folder):
            names -= set(os.listdir(other_folder))
    names.add("QtWidgets")
    return names


def is_widgets_include(name, widgets):
    return name == "QtWidgets" or name.startswith("QtWidgets/") or name in widgets


class SourceFile:
    def __init__(self, root, rel, layer):
        self.rel = rel
        self.layer = layer
        self.base, self.suffix = os.path.splitext(os.path.basename(rel))
        with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
            self.text = f.read()
        self.lines = self.text.count("\n") + (0 if self.text.endswith("\n") else 1)
        self.includes = list(parse_includes(self.text))  # (line, kind, name)
        self.unit = None


def parse_includes(text):
    """(line number, '"' or '<', name) of each #include outside block comments."""
    in_comment = False
    for number, line in enumerate(text.splitlines(), 1):
        if in_comment:
            end = line.find("*/")
            if end < 0:
                continue
            line = line[end + 2:]
            in_comment = False
        start = line.find("/*")
        if start >= 0 and line.find("*/", start) < 0 and not line.lstrip().startswith("#"):
            in_comment = True
            continue
        m = INCLUDE_RE.match(line)
        if m:
            yield number, m.group(1), m.group(2).strip()
        elif start >= 0 and line.find("*/", start) < 0:
            in_comment = True


def layer_of(folder):
    """The layer of a folder, None when it has none."""
    folder = FOLDER_ALIASES.get(folder, folder)
    return folder if folder in LAYERS else None


def read_tree(root):
    """The source files of the layer folders, and the errors met on the way."""
    files, errors = [], []
    tops = sorted({layer.split("/")[0] for layer in LAYERS})
    for top in tops:
        top_path = os.path.join(root, top)
        if not os.path.isdir(top_path):
            continue
        for dirpath, dirnames, filenames in os.walk(top_path):
            dirnames[:] = sorted(d for d in dirnames
                                 if d not in SKIPPED_FOLDERS and not d.startswith("build")
                                 and not d.endswith("_autogen") and not d.startswith("."))
            folder = os.path.relpath(dirpath, root).replace(os.sep, "/")
            sources = sorted(n for n in filenames if n.endswith(SOURCE_SUFFIXES))
            if not sources:
                continue
            layer = layer_of(folder)
            if layer is None:
                errors.append("%s/: source files in a folder without a layer (%s); add it "
                              "to LAYERS in tools/check-layers.py" % (folder, ", ".join(sources)))
                continue
            for name in sources:
                files.append(SourceFile(root, folder + "/" + name, layer))
    return files, errors


def make_units(files):
    """Gives every file its unit: '<layer>/<base name>', or '<folder>/main' for a main.cpp."""
    for f in files:
        if f.base == "main":
            f.unit = f.rel.rsplit(".", 1)[0]
        else:
            f.unit = f.layer + "/" + f.base
    return sorted({f.unit for f in files})


def resolve(files, errors):
    """Unit edges {(from unit, to unit): [(file, line, header)]} and the Widgets uses."""
    by_name = defaultdict(list)
    for f in files:
        by_name[os.path.basename(f.rel)].append(f)
    widgets = widgets_headers()
    edges = defaultdict(list)
    widgets_uses = []
    for f in files:
        for line, kind, name in f.includes:
            if kind == "<":
                if is_widgets_include(name, widgets):
                    widgets_uses.append((f, line, name))
                continue
            candidates = by_name.get(os.path.basename(name), [])
            if not candidates:
                if not GENERATED_RE.search(name):
                    errors.append('%s:%d: #include "%s" names no file of the tree'
                                  % (f.rel, line, name))
                continue
            target = pick(f, candidates)
            if target is None:
                errors.append('%s:%d: #include "%s" is ambiguous: %s'
                              % (f.rel, line, name, ", ".join(c.rel for c in candidates)))
                continue
            if target.unit != f.unit:
                edges[(f.unit, target.unit)].append((f, line, name))
    return edges, widgets_uses


def pick(including, candidates):
    """The file an include means: the only one, else the one beside the includer,
    else the only one in the includer's layer."""
    if len(candidates) == 1:
        return candidates[0]
    folder = os.path.dirname(including.rel)
    for c in candidates:
        if os.path.dirname(c.rel) == folder:
            return c
    same_layer = [c for c in candidates if c.layer == including.layer]
    return same_layer[0] if len(same_layer) == 1 else None


def cycles(units, edges):
    """The strongly connected components of more than one unit (Tarjan, iterative)."""
    graph = defaultdict(set)
    for a, b in edges:
        graph[a].add(b)
    index, low, on_stack, stack, result = {}, {}, set(), [], []
    counter = 0
    for start in units:
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph[child]))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    result.append(sorted(component))
    return sorted(result)


def unit_layer(unit, files_by_unit):
    return files_by_unit[unit][0].layer


def check(root):
    """Prints the report; returns the number of problems found."""
    files, errors = read_tree(root)
    units = make_units(files)
    files_by_unit = defaultdict(list)
    for f in files:
        files_by_unit[f.unit].append(f)
    edges, widgets_uses = resolve(files, errors)

    forbidden = []
    layer_graph = defaultdict(int)
    for (a, b), sites in sorted(edges.items()):
        la, lb = unit_layer(a, files_by_unit), unit_layer(b, files_by_unit)
        if la == lb:
            continue
        layer_graph[(la, lb)] += len(sites)
        if lb not in LAYERS[la][0]:
            for f, line, name in sites:
                forbidden.append('%s:%d: #include "%s": %s may not include %s'
                                 % (f.rel, line, name, la, lb))
    for f, line, name in widgets_uses:
        if not LAYERS[f.layer][1]:
            forbidden.append("%s:%d: #include <%s>: %s may not use Qt Widgets"
                             % (f.rel, line, name, f.layer))

    found = cycles(units, edges)

    print("Layer graph (includes between layers):")
    present = [layer for layer in LAYERS if any(f.layer == layer for f in files)]
    for la in present:
        targets = ["%s (%d)" % (lb, n) for (x, lb), n in sorted(layer_graph.items()) if x == la]
        print("  %-18s -> %s" % (la, ", ".join(targets) if targets else "(nothing)"))

    print("\nLines per library:")
    total = 0
    for layer in present:
        members = [f for f in files if f.layer == layer]
        lines = sum(f.lines for f in members)
        total += lines
        print("  %-18s %4d files %7d lines %4d units"
              % (layer, len(members), lines, len({f.unit for f in members})))
    print("  %-18s %4d files %7d lines %4d units" % ("total", len(files), total, len(units)))

    print("\nInclude cycles between units: %d" % len(found))
    for number, component in enumerate(found, 1):
        print("  cycle %d (%d units): %s" % (number, len(component), ", ".join(component)))
        members = set(component)
        for (a, b), sites in sorted(edges.items()):
            if a in members and b in members:
                for f, line, name in sites:
                    print('    %s:%d includes "%s"' % (f.rel, line, name))

    if forbidden:
        print("\nForbidden includes: %d" % len(forbidden))
        for line in forbidden:
            print("  " + line)
    if errors:
        print("\nErrors: %d" % len(errors))
        for line in errors:
            print("  " + line)

    problems = len(found) + len(forbidden) + len(errors)
    print("\n%s" % ("Layers: OK" if problems == 0 else
                    "Layers: FAILED (%d cycles, %d forbidden includes, %d other errors)"
                    % (len(found), len(forbidden), len(errors))))
    return problems


def main(argv):
    if len(argv) > 2:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    root = argv[1] if len(argv) == 2 else os.path.join(os.path.dirname(__file__), "..")
    if not os.path.isdir(root):
        print("check-layers: %s is not a folder" % root, file=sys.stderr)
        return 2
    return 1 if check(os.path.abspath(root)) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
