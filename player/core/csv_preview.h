#pragma once

#include <string_view>

// The lines the CSV dialog shows before a file's header come from other
// programs: exports of today are UTF-8, often with a byte-order mark; older
// ones are Windows-1252.
namespace korv::player {

struct CsvPreview {
    bool utf8 = false;      // else Windows-1252
    std::string_view text;  // the bytes to decode, without a UTF-8 byte-order mark
};

// UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark dropped),
// else Windows-1252.
CsvPreview csv_preview(std::string_view bytes);

// Well-formed UTF-8: no overlong forms, surrogates or code points past U+10FFFF.
bool is_valid_utf8(std::string_view bytes);

}  // namespace korv::player
