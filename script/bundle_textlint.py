#!/usr/bin/env python3
"""The steps of script/bundle-textlint that are easier in Python than in the shell.

notice FOLDER NODE_VERSION NODE_LICENSE OUT
    Writes the notice file of the bundled textlint: node.exe and every package under
    FOLDER/node_modules, each with its version, its licence name and the licence texts
    the package ships (LICENSE*, LICENCE*, COPYING*, NOTICE*; kuromoji's NOTICE carries the
    IPADIC dictionary's notice). UTF-8 with a BOM and CRLF line ends, as Notepad reads it.

prune FOLDER
    Removes what a package needs only for its development: tests, documents, examples,
    TypeScript sources and declarations, source maps, linter and build settings. Every
    package.json stays (textlint and Node read them), and so does every licence text.
    Prints the sizes before and after.

zip FOLDER OUT
    Writes OUT with FOLDER's files under the name "Quillcheck-textlint/".
"""
import json
import os
import pathlib
import re
import shutil
import sys
import zipfile

LICENCE_FILE = re.compile(r"^(licen[cs]e|copying|notice)([-._].*)?$", re.IGNORECASE)
# Folders inside a package (never a package itself) that hold nothing Node loads.
DEV_FOLDERS = {"test", "tests", "__tests__", "docs", "example", "examples", "demo",
               ".github", "coverage", "benchmark", "benchmarks"}
DEV_FILE_SUFFIXES = (".md", ".markdown", ".ts", ".mts", ".cts", ".js.map", ".mjs.map",
                     ".cjs.map", ".flow", ".tsbuildinfo")
DEV_FILE_NAMES = {".eslintrc", ".eslintrc.js", ".eslintrc.json", ".eslintrc.yml",
                  ".eslintignore", ".prettierrc", ".prettierignore", ".editorconfig",
                  ".travis.yml", ".npmignore", ".gitattributes", ".nycrc", ".babelrc",
                  "makefile", "gulpfile.js", "gruntfile.js", "bower.json", "jsdoc.json",
                  "tsconfig.json", "tsconfig.build.json", ".airtap.yml", ".taprc"}


def packages(modules):
    """Every package folder under a node_modules folder, nested ones included."""
    found = []
    for entry in sorted(modules.iterdir()):
        if entry.name.startswith("."):
            continue
        if entry.name.startswith("@") and entry.is_dir():
            found += [p for p in sorted(entry.iterdir()) if (p / "package.json").is_file()]
        elif (entry / "package.json").is_file():
            found.append(entry)
    nested = []
    for package in found:
        if (package / "node_modules").is_dir():
            nested += packages(package / "node_modules")
    return found + nested


def licence_name(meta):
    value = meta.get("license") or meta.get("licenses") or "(not stated)"
    if isinstance(value, list):
        value = " OR ".join(v.get("type", "?") if isinstance(v, dict) else str(v) for v in value)
    elif isinstance(value, dict):
        value = value.get("type", "?")
    return str(value)


def notice(folder, node_version, node_licence, out):
    rule = "=" * 78
    parts = ["Quillcheck-textlint: the programs in this folder and their licences.",
             "",
             "node.exe, textlint, its HTML plug-in and the rules are the work of their",
             "authors and are distributed under the licences below, unchanged.",
             "",
             rule, f"node.exe (Node.js) {node_version}", "License: MIT and others, as follows",
             rule, pathlib.Path(node_licence).read_text(encoding="utf-8").strip(), ""]
    without_text = []
    for package in packages(pathlib.Path(folder) / "node_modules"):
        meta = json.loads((package / "package.json").read_text(encoding="utf-8"))
        name, version = meta.get("name", package.name), meta.get("version", "?")
        texts = [f for f in sorted(package.iterdir()) if f.is_file() and LICENCE_FILE.match(f.name)]
        parts += [rule, f"{name} {version}", f"License: {licence_name(meta)}", rule]
        if not texts:
            without_text.append(name)
            parts += ["(The package ships no licence text; its package.json names the licence above.)", ""]
        for text in texts:
            if len(texts) > 1:
                parts += [f"--- {text.name} ---"]
            parts += [text.read_text(encoding="utf-8", errors="replace").strip(), ""]
    body = "\n".join(parts).replace("\r\n", "\n").replace("\n", "\r\n")
    pathlib.Path(out).write_bytes(b"\xef\xbb\xbf" + body.encode("utf-8"))
    print(f"bundle: notice names {len(packages(pathlib.Path(folder) / 'node_modules')) + 1} "
          f"programs; {len(without_text)} packages ship no licence text")


def size_of(folder):
    return sum(f.stat().st_size for f in pathlib.Path(folder).rglob("*") if f.is_file())


def prune(folder):
    modules = pathlib.Path(folder) / "node_modules"
    before = size_of(modules)
    for package in packages(modules):
        for root, dirs, files in os.walk(package):
            root_path = pathlib.Path(root)
            # A nested node_modules holds packages of their own, pruned in their turn.
            dirs[:] = [d for d in dirs if d != "node_modules"]
            for d in list(dirs):
                if d.lower() in DEV_FOLDERS:
                    shutil.rmtree(root_path / d)
                    dirs.remove(d)
            for f in files:
                lower = f.lower()
                if f == "package.json" or LICENCE_FILE.match(f):
                    continue
                if lower in DEV_FILE_NAMES or lower.endswith(DEV_FILE_SUFFIXES) or \
                        lower.startswith(("changelog", "history.")):
                    (root_path / f).unlink()
    after = size_of(modules)
    print(f"bundle: node_modules {before / 1e6:.1f} MB before pruning, {after / 1e6:.1f} MB after")


def write_zip(folder, out):
    folder = pathlib.Path(folder)
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for path in sorted(folder.rglob("*")):
            if path.is_file():
                z.write(path, "Quillcheck-textlint/" + path.relative_to(folder).as_posix())


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"notice": notice, "prune": prune, "zip": write_zip}[command](*args)
