#pragma once

#include <string_view>

// Byte order of the record floats of a VXM log, and how the player chooses
// it from a file's name when the file is opened.
namespace korv {

enum class FloatOrder { little, big };

enum class VxmOrderChoice {
    little_endian,            // VXMlog documents
    big_endian,               // the minimal-header logs
    needs_conversion_dialog,  // not recognised by name; the user must say what it is
};

// ".vxg" -> little; ".db1"/".db2" -> big (suffixes case-blind); a file whose
// own name is "csv.tmp" (the CSV conversion's scratch log) -> big. Any other
// name (".db3" included) goes to the conversion dialog, unless the user has
// declared it a VXM log file there (`declared_vxm_log`), which means little.
VxmOrderChoice choose_vxm_float_order(std::string_view path, bool declared_vxm_log = false);

}  // namespace korv
