#!/usr/bin/env python3
"""Writes the package's type stub (__init__.pyi) from the built module's own
declarations: every field keyword and job option with its type, so that editors
complete them and nothing is typed twice.
usage: make_stub.py PACKAGE_PARENT_FOLDER OUTPUT.pyi"""
import sys

sys.path.insert(0, sys.argv[1])
import morvessan  # noqa: E402  (the package just built)

FIELD_TYPES = {
    "choice": "str", "integer": "int", "decimal": "float", "flag": "bool",
    "weights": "Sequence[float] | str", "colours": "str", "matrix": "Sequence[float] | str", "path": "str",
}
OPTION_TYPES = {"flag": "bool", "integer": "int", "number": "float", "text": "str", "choice": "str"}
RENDER_ONLY = {"tileable", "evolve", "loop", "normal_map", "normal_strength", "normal_green"}
# render()'s own arguments, written out above the keywords, and save()'s.
EXPLICIT = {"background", "height_map", "compression"}


def keywords(for_render):
    lines = []
    for keyword, option in morvessan.options.items():
        if keyword in EXPLICIT or (keyword in RENDER_ONLY and not for_render):
            continue
        lines.append(f"    {keyword}: {OPTION_TYPES[option['kind']]} | None = ...,  # {option['option']}")
    if for_render:
        lines.append("    frame: int = ...,  # a sequence's frame, from 0")
    for keyword, field in morvessan.field_table.items():
        lines.append(f"    {keyword}: {FIELD_TYPES[field['kind']]} | None = ...,  # {field['range']}: {field['help']}")
    # The field table's own names (noiseSeed) are taken too.
    lines.append("    **fields: Any,")
    return "\n".join(lines)


stub = f'''# Made by python/make_stub.py from the module's declarations: do not edit.
from typing import Any, Literal, Sequence

import numpy
import numpy.typing

__version__: str
fields: list[str]
field_table: dict[str, dict[str, str]]
options: dict[str, dict[str, Any]]

class PresetFields(dict[str, Any]): ...

def render(
    width: int,
    height: int,
    *,
    background: str = ...,
    depth: Literal[8, 16] | None = ...,
    height_map: bool = ...,
    channels: Literal[3, 4] = ...,
{keywords(True)}
) -> numpy.typing.NDArray[numpy.uint8] | numpy.typing.NDArray[numpy.uint16]: ...

def apply(
    picture: numpy.typing.NDArray[numpy.uint8],
    *,
    mask: numpy.typing.NDArray[numpy.uint8] | numpy.typing.NDArray[numpy.bool_] | numpy.typing.NDArray[numpy.floating[Any]] | None = ...,
{keywords(False)}
) -> numpy.typing.NDArray[numpy.uint8]: ...

def save(
    picture: numpy.typing.NDArray[numpy.uint8], path: str, *, compression: Literal["fast", "default", "small"] = ...
) -> None: ...

def presets() -> list[dict[str, str]]: ...

def preset(name: str, *, preset_file: str | None = ..., category: str | None = ...) -> PresetFields: ...
'''
with open(sys.argv[2], "w", encoding="utf-8") as out:
    out.write(stub)
