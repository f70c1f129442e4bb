# Builds the Python package's compiled part with CMake (the project's own build,
# target morvessan_python) for the interpreter running pip, and lays out the package
# with the shipped presets and texture pictures inside it.
# MORVESSAN_BUILD_DIR reuses a build folder already configured for this interpreter.
import os
import pathlib
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE = pathlib.Path(__file__).parent.resolve()


def project_version():
    text = (SOURCE / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(Morvessan VERSION ([0-9.]+)", text).group(1)


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = pathlib.Path(os.environ.get("MORVESSAN_BUILD_DIR") or pathlib.Path(self.build_temp) / "cmake").resolve()
        if not (build / "CMakeCache.txt").exists():
            generator = ["-G", "Ninja"] if shutil.which("ninja") else []
            subprocess.check_call(["cmake", "-S", str(SOURCE), "-B", str(build), *generator,
                                   "-DCMAKE_BUILD_TYPE=Release", f"-DPython3_EXECUTABLE={sys.executable}",
                                   "-DMORVESSAN_TESTS=OFF", "-DMORVESSAN_BENCH=OFF"])
        jobs = os.environ.get("MORVESSAN_JOBS", str(os.cpu_count() or 2))
        subprocess.check_call(["cmake", "--build", str(build), "--target", "morvessan_python", "-j", jobs])
        built = build / "python" / "morvessan"
        package = pathlib.Path(self.get_ext_fullpath(ext.name)).parent
        package.mkdir(parents=True, exist_ok=True)
        for item in built.iterdir():
            if item.name.startswith("_morvessan") or item.suffix in (".pyi", ".py") or item.name == "py.typed":
                shutil.copy2(item, package / item.name)
        # The library the package reads when no folders are named in the environment.
        shutil.copytree(SOURCE / "resources" / "presets", package / "presets", dirs_exist_ok=True)
        shutil.copytree(build / "resources" / "textures", package / "textures", dirs_exist_ok=True,
                        ignore=shutil.ignore_patterns("*.cmake", "CMakeFiles"))


# setuptools' own files (egg-info, build/lib...) stay under build/, which the tree ignores.
(SOURCE / "build" / "pip").mkdir(parents=True, exist_ok=True)

setup(
    version=project_version(),
    options={"egg_info": {"egg_base": str(SOURCE / "build" / "pip")},
             "build": {"build_base": str(SOURCE / "build" / "pip")}},
    packages=["morvessan"],
    package_dir={"morvessan": "python/morvessan"},
    package_data={"morvessan": ["py.typed", "*.pyi"]},
    ext_modules=[CMakeExtension("morvessan._morvessan")],
    cmdclass={"build_ext": CMakeBuild},
    zip_safe=False,
)
