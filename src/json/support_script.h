// The script that every document engine loads: the helper functions that the
// document's expressions call, and a stand-in JSON object for engines without one.
#pragma once

#include <string>
#include <string_view>

namespace sp {

// One line of plain ASCII, embedded at build time from support_script.js.
// get__extend(target, source) merges object and array members and replaces the
// others; a target member that is a number or null is replaced by the source's
// member just like a string, boolean or missing one, so a merge never stops with
// an error halfway (a number has no concat, and null has no members to merge into).
std::string_view supportScript();

// The same script compiled once per process and dumped as Duktape bytecode:
// loading it skips the compiler, the bulk of a new document's cost. Empty when
// it cannot be made; callers then run the text.
const std::string& supportScriptBytecode();

}  // namespace sp
