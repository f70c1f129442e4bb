"""Procedural textures (Cloud, Fire, Marble, Wood) rendered by the Morvessan filter.

    import morvessan
    clouds = morvessan.render(640, 360, type="cloud", noise_seed=7)   # (360, 640, 4) uint8 RGBA
    heights = morvessan.render(512, 512, type="cloud", height_map=True)  # (512, 512) uint16
    textured = morvessan.apply(photo, preset="Bonfire", mask=selection)

Every field is a keyword in snake_case (morvessan.fields; the field table's own
names, noiseSeed, are taken too); the job's options are morvessan.options.
"""
from ._morvessan import __version__, apply, field_table, fields, options, presets, render, save
from ._morvessan import preset as _preset

__all__ = ["__version__", "apply", "field_table", "fields", "options", "preset", "presets", "render", "save"]

# The field table's own names ("noiseSeed") by keyword ("noise_seed").
_names = {entry["name"]: keyword for keyword, entry in field_table.items()}


class PresetFields(dict):
    """A preset's fields by keyword; the field table's names are read too, as
    callers wrote them before the keywords were snake_case."""

    def __missing__(self, key):
        keyword = _names.get(key)
        if keyword is not None and keyword in self:
            return self[keyword]
        raise KeyError(key)


def preset(name, *, preset_file=None, category=None):
    """preset(name, *, preset_file=None, category=None) -> dict of the preset's fields
    by keyword, each accepted back by render() and apply()."""
    return PresetFields(_preset(name, preset_file=preset_file, category=category))
