# Build script for setuptools: the metadata is in pyproject.toml, the version in the project's CMakeLists.txt.
import runpy
from pathlib import Path

from setuptools import setup

version_module = runpy.run_path(str(Path(__file__).resolve().parent / "lumoidl" / "_version.py"))
setup(version=version_module["package_version"]())
