// Problems with the library's input go to standard error, one line each; there is no log.
#ifndef ARBOLIX_DIRAPI_PROBLEMS_H
#define ARBOLIX_DIRAPI_PROBLEMS_H

#include <cstddef>
#include <string>
#include <string_view>

namespace dirapi {

// Writes the message and a line end. Bytes that could move a terminal's cursor or garble its
// output (control bytes, bytes of no valid UTF-8 sequence) are written as \xNN, so a message is
// always one harmless line, whatever a plant file or a variable held.
void reportProblem(std::string_view message);

// Plant text for a message, in single quotes: control bytes, bytes of no valid UTF-8 sequence
// and the backslash written as \xNN (\\ for the backslash), and text longer than kShownBytes cut
// there, its length given: 'ABCDEF...'... (1048576 bytes).
std::string quoted(std::string_view text);
inline constexpr std::size_t kShownBytes = 40;

} // namespace dirapi

#endif
