#pragma once
// Where the window meets the core's CP949 bytes: captions for the screen, typed text for the core.

#include <QString>

#include <string>

namespace shell {

// CP949 bytes as a QString (bytes that are not CP949 show as U+FFFD).
QString to_q(const std::string& cp949);

// A caption of the core for a label or a box: CR (or CR LF) breaks the line.
QString caption_text(const std::string& cp949);

// The CP949 form of a typed text; false, leaving `out` alone, when a character has none.
bool to_cp949(const QString& typed, std::string& out);

// What the user is told when typed text has no CP949 form.
QString no_cp949_name_text();
QString no_cp949_input_text();

}  // namespace shell
