#!/usr/bin/env python3
"""Prints where a package goes under PREFIX for this interpreter, relative to it:
Debian's dist-packages for /usr and /usr/local, which its Python reads there, and
the interpreter's own site-packages for any other prefix (as pip lays one out).
usage: install_dir.py [PREFIX]"""
import os
import sys
import sysconfig

prefix = os.path.normpath(sys.argv[1]) if len(sys.argv) > 1 else "/usr/local"
version = f"python{sys.version_info.major}.{sys.version_info.minor}"
if prefix in ("/usr", "/usr/local") and "deb_system" in sysconfig.get_scheme_names():
    print(f"lib/{version}/dist-packages")
else:
    path = sysconfig.get_path("platlib", "posix_prefix", vars={"base": prefix, "platbase": prefix})
    print(os.path.relpath(path, prefix))
