// A whole parameter block as text and JSON, and its fields set by name: the
// texture's fields and the block's own (presetFile, categoryIndex and the flags).
#pragma once

#include "texture/FilterParameters.h"

#include <string>
#include <utility>
#include <vector>

namespace morvessan::cli {

// The version of the "params show --json" object, its "schema" key (docs/params-schema.json).
inline constexpr int kParamsSchema = 1;

// The block's own fields, after the texture's, as show prints them.
const std::vector<std::string>& blockOwnFieldNames();
// Every field name set accepts: the texture's, then the block's own.
std::vector<std::string> everyFieldName();
// Whether `name` is one of the block's own fields (ignoring case).
bool isBlockOwnField(const std::string& name);

// Every field with its value, in the form setBlockField reads back to the same bytes.
std::vector<std::pair<std::string, std::string>> blockFieldTexts(const FilterParameters& block);
// The block as one JSON object, keys in a fixed order, "schema" last.
std::string blockJson(const FilterParameters& block);

// Applies "FIELD=VALUE" to any field of the block, or throws a usage error naming
// the field and its range (and the nearest field name when it is unknown).
void applyBlockAssignment(FilterParameters& block, const std::string& assignment);

} // namespace morvessan::cli
